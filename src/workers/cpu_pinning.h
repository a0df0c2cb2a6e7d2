// Keeping a host thread and its workers on one CPU: a wake-up across CPUs costs far more than
// the work of a call.
#pragma once

namespace velkaran {

// Pins the calling thread to the CPU it runs on now (or to Cpu when it is not negative); the
// worker processes it starts afterwards inherit that. Returns the CPU, or -1 when pinning is not
// possible (the thread then runs as before).
int PinThisThreadToOneCpu(int Cpu = -1);

}  // namespace velkaran
