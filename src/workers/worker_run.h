// What the worker pools of one run share (a series, a tournament, one match of the desktop
// program): the libraries as the run began with them, the relay of the bots' output, and every
// worker process the run started, which it can end at once from any thread.
#pragma once

#include "library_pin.h"
#include "output_relay.h"

#include <sys/types.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace velkaran {

class TWorkerRun {
public:
    // Bots' output goes to OutputSink (the host's stderr unless said otherwise), each line after
    // the library's file name; or, with an OutputFolder, to one file per library there,
    // "<file name>.log", begun afresh by the run.
    explicit TWorkerRun(std::string OutputFolder = "", int OutputSink = 2);
    // Says on stderr which libraries changed on disk during the run (once each), and ends what is
    // left of its workers.
    ~TWorkerRun();
    TWorkerRun(const TWorkerRun &) = delete;
    TWorkerRun &operator=(const TWorkerRun &) = delete;

    // Ends every worker of this run now, and every one it would start later: the calls in flight
    // fail at once. Other runs of the process are untouched. Callable from any thread (a thread
    // that watches signals, a window's button) and more than once.
    void Stop();
    bool Stopped() const { return Stopping.load(); }
    // Stops every run of the process: for a program that is ending.
    static void StopEveryRun();

    // The library at Path as this run first pinned it (two names of one file give one library);
    // null, with the reason in Error, when it cannot be read. With Afresh, a file changed since
    // is pinned anew (a bot list that shows the files as they are now). Says once on stderr when
    // the file has changed since it was pinned. Throws THostFailure when the host cannot copy it.
    std::shared_ptr<TPinnedLibrary> Library(const std::string &Path, std::string &Error, bool Afresh = false);

    // A descriptor for the stdout and stderr of a new worker of Library: the write end of a relay
    // pipe (the caller closes it once the worker has it). Throws THostFailure when none can be made.
    int OutputFor(const TPinnedLibrary &Library);

    // For the worker processes: a worker started, its process and its pidfd; false (the worker
    // must be ended) once the run is stopped.
    bool Register(pid_t Process, int PidFd);
    // The worker is about to be reaped: the run no longer signals it.
    void Unregister(pid_t Process);

    // Whether Process is a worker of this run that is not reaped yet.
    bool Has(pid_t Process);

private:
    void WarnIfChanged(TPinnedLibrary &Library);

    struct TWorker {
        pid_t Process;
        int PidFd;
    };
    const std::string OutputFolder;
    const int OutputSink;
    std::atomic<bool> Stopping{false};
    std::mutex Lock;  // over Workers, Libraries and Relay
    std::vector<TWorker> Workers;
    std::map<std::string, std::shared_ptr<TPinnedLibrary>> Libraries;  // by path as named
    std::unique_ptr<TOutputRelay> Relay;
};

// Whether Process is a worker that some run of this process has running.
bool IsRunningWorker(pid_t Process);

// Sends SIGKILL to the worker through its pidfd (exact, whatever group the bot moved it to) and
// to its process group (the bot's children that stayed in it). Async-signal-safe.
void KillWorker(pid_t Process, int PidFd);

}  // namespace velkaran
