// SIGINT, SIGTERM and SIGHUP as requests that the program looks at when it is ready: blocked in
// every thread, asked for while reading, waited for while playing.
#pragma once

namespace velkaran {

// Blocks the three signals in this thread and in every thread it starts afterwards.
void BlockTerminationSignals();

// True when one of them has arrived and waits to be taken; it stays pending.
bool TerminationPending();

// Waits up to Milliseconds for one of them and takes it; true when one came.
bool TakeTermination(long Milliseconds);

}  // namespace velkaran
