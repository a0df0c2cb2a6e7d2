// The records a bot is handed, in memory of their own that ends at an inaccessible page.
#pragma once

#include <velkaran/bot.h>

namespace velkaran::worker {

// The three records of a call, side by side at the very end of a mapping, followed by a page
// that cannot be touched: a bot that writes past them faults at once instead of corrupting the
// worker, and nothing of the worker's own lies next to them.
struct TCallRecords {
    TCardList List;
    TGameView View;
    TTurnInfo Info;
};

// The records, mapped on first use. Ends the process with a message when memory is short.
TCallRecords &GuardedRecords();

}  // namespace velkaran::worker
