// One bot worker process as the host sees it: started, asked, and ended with its whole group.
#pragma once

#include "players/player_seat.h"
#include "worker_protocol.h"

#include <sys/types.h>

#include <memory>
#include <string>

namespace velkaran {

class TWorkerConfinement;

// How workers are started.
struct TWorkerSettings {
    std::string Program;         // the worker program; see DefaultWorkerProgram
    long long MemoryMb = 0;      // caps each worker's address space; 0 for no cap
    bool Sandbox = false;        // lock each worker down before its library is loaded
    bool SandboxStrict = false;  // refuse to start a worker that would lack a layer of the sandbox
    std::string SandboxUser;     // under the sandbox as root: the user bots run as; empty: "nobody"
};

// velkaran-bot-worker next to the running program's own executable.
std::string DefaultWorkerProgram();

// A running worker: its own process group, killed with the host (parent-death signal), with no
// descriptor of the host's but its two pipes and OutputFd as stdout and stderr. Not thread-safe:
// one thread talks to a worker at a time.
class TWorkerProcess {
public:
    // Starts the worker for the library at LibraryPath. Null on failure, with the reason in Error.
    static std::unique_ptr<TWorkerProcess> Start(const TWorkerSettings &Settings,
                                                 const std::string &LibraryPath, int OutputFd,
                                                 std::string &Error);

    // Ends the worker's whole group at once and reaps it, if that has not happened yet.
    ~TWorkerProcess();
    TWorkerProcess(const TWorkerProcess &) = delete;
    TWorkerProcess &operator=(const TWorkerProcess &) = delete;

    // Sends Request and waits up to TimeoutMs for the answer. On success Answer holds a valid
    // answer of the kind the request calls for (or Exception / Refused, reported as Crashed).
    // On any fault the worker is ended with its group and reaped before this returns; Detail says
    // what happened ("killed by SIGSEGV (Segmentation fault)", "no answer within 22000 ms").
    TCallOutcome Exchange(const worker::TRequest &Request, worker::TAnswer &Answer, double TimeoutMs);

    // Asks the worker to end and waits up to GraceMs for it; then ends what is left of its group.
    // Returns how it ended when that was not a clean exit (empty otherwise).
    std::string Stop(double GraceMs);

    // False once the worker has been ended or has died.
    bool Alive() const { return Running; }
    pid_t Pid() const { return Process; }

private:
    TWorkerProcess(pid_t Process, int PidFd, int RequestWrite, int AnswerRead,
                   std::unique_ptr<TWorkerConfinement> Confinement);

    // Kills the group, reaps the worker and returns how it ended.
    std::string End();
    // Waits up to TimeoutMs for the worker to exit; true when it has.
    bool WaitForExit(double TimeoutMs) const;
    // The outcome of a call whose answer cannot come: the worker died, or broke its pipes.
    TCallOutcome Lost();

    pid_t Process;
    int PidFd;
    int RequestWrite;
    int AnswerRead;
    int Watch = -1;  // epoll over AnswerRead and PidFd
    bool Running = true;
    int Status = 0;                                   // the wait status once reaped
    std::unique_ptr<TWorkerConfinement> Confinement;  // its control groups, released once it is reaped
};

}  // namespace velkaran
