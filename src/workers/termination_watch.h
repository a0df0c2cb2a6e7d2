// SIGINT, SIGTERM and SIGHUP taken by a thread of their own, so that whatever the program's other
// threads wait for (a bot, a pipe), a request to end is heard at once.
#pragma once

#include <functional>
#include <memory>

namespace velkaran {

class TTerminationWatch {
public:
    // Blocks the three signals in the calling thread, which the threads it starts later inherit:
    // make it before any other thread starts. OnSignal runs on the watch's own thread, once, for
    // the first of them; it may end the program (EndAsSignal). A second signal ends the program
    // at once, as it would have without the watch.
    explicit TTerminationWatch(std::function<void(int Signal)> OnSignal);
    // Stops watching (the signals stay blocked: a late one waits for the program's end).
    ~TTerminationWatch();
    TTerminationWatch(const TTerminationWatch &) = delete;
    TTerminationWatch &operator=(const TTerminationWatch &) = delete;

private:
    struct TState;
    std::unique_ptr<TState> State;
};

// Ends the program as Signal does by default (a shell then sees 128 + Signal).
[[noreturn]] void EndAsSignal(int Signal);

}  // namespace velkaran
