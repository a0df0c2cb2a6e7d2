// Containing a bot that never returns: a thread that watches the bot call in progress.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velkaran {

// Watches the guarded bot calls from a thread of its own, a few times per second, while it
// exists. When one call (or the loading of one library) has run for longer than Limit, it reports
// the call as hung (a line on stderr) and ends the program with ExitBotCrashed. Costs the calls
// nothing; the destructor stops and joins the thread.
class THangWatchdog {
public:
    explicit THangWatchdog(std::chrono::seconds Limit);
    ~THangWatchdog();
    THangWatchdog(const THangWatchdog &) = delete;
    THangWatchdog &operator=(const THangWatchdog &) = delete;

private:
    void Watch();

    std::chrono::seconds Limit_;
    std::mutex Mutex_;
    std::condition_variable Wake_;
    bool Stopping_ = false;
    std::thread Thread_;
};

}  // namespace velkaran
