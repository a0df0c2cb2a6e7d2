// One bot worker process as the host sees it: started, asked, and ended through its pidfd.
#pragma once

#include "players/player_seat.h"
#include "worker_protocol.h"

#include <sys/types.h>

#include <memory>
#include <string>

namespace velkaran {

class TPinnedLibrary;
class TWorkerConfinement;
class TWorkerRun;
struct TBotManifest;

// How workers are started.
struct TWorkerSettings {
    std::string Program;         // the worker program; see DefaultWorkerProgram
    long long MemoryMb = 0;      // caps each worker's address space; 0 for no cap
    bool Sandbox = false;        // lock each worker down before its library is loaded
    bool SandboxStrict = false;  // refuse to start a worker that would lack a layer of the sandbox
    std::string
        SandboxUser;  // under the sandbox as root: the user bots run as; empty: one of each worker's own
};

// velkaran-bot-worker next to the running program's own executable.
std::string DefaultWorkerProgram();

// A running worker: a session and process group of its own, killed with the thread that started
// it (parent-death signal), with no descriptor of the host's but its two pipes, the library's
// pinned content, and OutputFd as stdout and stderr. Not thread-safe: one thread talks to a worker
// at a time; its run may end it from any thread.
class TWorkerProcess {
public:
    // Starts a worker of Run for Library, its output to OutputFd, whatever descriptors the host
    // has open or closed. With Program (Library is then its manifest) the worker becomes that
    // program, and the exchanges go through the line protocol (line_protocol.h). Null when Run has
    // been stopped. Throws THostFailure when the host cannot start it: no worker program, or one
    // that cannot be run; no descriptors, memory or processes.
    static std::unique_ptr<TWorkerProcess> Start(const TWorkerSettings &Settings, TWorkerRun &Run,
                                                 const TPinnedLibrary &Library, int OutputFd,
                                                 const TBotManifest *Program = nullptr);

    // Ends the worker at once, if that has not happened yet.
    ~TWorkerProcess();
    TWorkerProcess(const TWorkerProcess &) = delete;
    TWorkerProcess &operator=(const TWorkerProcess &) = delete;

    // Sends Request and waits up to TimeoutMs for the answer. On success Answer holds a valid
    // answer of the kind the request calls for (or Exception / Refused, reported as Crashed). A
    // program's Load is its greeting, checked as a library's name is.
    // On any fault the worker is ended before this returns; Detail says what happened ("killed by
    // SIGSEGV (Segmentation fault)", "no answer within 22000 ms"). Throws THostFailure when the
    // host's own waiting fails.
    TCallOutcome Exchange(const worker::TRequest &Request, worker::TAnswer &Answer, double TimeoutMs);

    // Asks the worker to end and waits up to GraceMs for it; then ends what is left of it.
    // Returns how it ended when that was not a clean exit (empty otherwise).
    std::string Stop(double GraceMs);

    // False once the worker has been ended or has died.
    bool Alive() const { return Running; }
    pid_t Pid() const { return Process; }

private:
    TWorkerProcess(TWorkerRun &Run, pid_t Process, int PidFd, int Watch, int RequestWrite, int AnswerRead,
                   std::unique_ptr<TWorkerConfinement> Confinement);

    // Kills the worker and its group, waits for it (with a deadline), lets its run forget it and
    // reaps it; returns how it ended.
    std::string End();
    // Waits up to TimeoutMs for the worker to exit; true when it has.
    bool WaitForExit(double TimeoutMs) const;
    // The outcome of a call whose answer cannot come: the worker died, or broke its pipes.
    TCallOutcome Lost();
    // Exchange with a program bot: Request as its line, the answer line read back into Answer.
    TCallOutcome ExchangeLine(const worker::TRequest &Request, worker::TAnswer &Answer, double TimeoutMs);
    // Waits up to TimeoutMs in all for the program's next whole line, into Line. False with the
    // outcome when none came (the program is then ended).
    bool ReadLine(double TimeoutMs, TCallOutcome &Outcome);
    // The program broke the protocol with what it wrote: it is ended, Detail says what came.
    TCallOutcome Broke(const std::string &What);
    // The loading answer of the program's greeting, which it gives once.
    void GreetingAnswer(worker::TAnswer &Answer) const;

    TWorkerRun &Run;
    pid_t Process;
    int PidFd;
    int Watch;  // epoll over AnswerRead and PidFd
    int RequestWrite;
    int AnswerRead;
    bool Running = true;
    int Status = 0;                                   // the wait status once reaped
    std::unique_ptr<TWorkerConfinement> Confinement;  // its control groups, released once it is reaped
    // A program bot's exchanges: the line sent, what it wrote so far, and its last whole line.
    bool Lines = false;
    std::string Sent;
    std::string Pending;
    std::string Line;
    bool Greeted = false;
    std::string GreetedName;  // the name of its greeting
};

}  // namespace velkaran
