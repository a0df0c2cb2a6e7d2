// A run's workers under one lock; the runs of the process in a list, for IsRunningWorker.
#include "worker_run.h"

#include "host_failure.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace velkaran {
namespace {

// Every run of the process. Taken before a run's own lock, never while holding one.
std::mutex RunsLock;
std::vector<TWorkerRun *> &Runs() {
    static std::vector<TWorkerRun *> All;
    return All;
}

std::string FileName(const std::string &Path) { return std::filesystem::path(Path).filename().string(); }

}  // namespace

void KillWorker(pid_t Process, int PidFd) {
    if (PidFd >= 0) syscall(SYS_pidfd_send_signal, PidFd, SIGKILL, nullptr, 0);
    kill(-Process, SIGKILL);  // the worker is not reaped yet, so its group id is still its own
}

bool IsRunningWorker(pid_t Process) {
    const std::lock_guard<std::mutex> Guard(RunsLock);
    for (TWorkerRun *Run : Runs())
        if (Run->Has(Process)) return true;
    return false;
}

void TWorkerRun::StopEveryRun() {
    const std::lock_guard<std::mutex> Guard(RunsLock);
    for (TWorkerRun *Run : Runs()) Run->Stop();
}

TWorkerRun::TWorkerRun(std::string OutputFolder, int OutputSink)
    : OutputFolder(std::move(OutputFolder)), OutputSink(OutputSink) {
    const std::lock_guard<std::mutex> Guard(RunsLock);
    Runs().push_back(this);
}

TWorkerRun::~TWorkerRun() {
    {
        const std::lock_guard<std::mutex> Guard(RunsLock);
        std::erase(Runs(), this);
    }
    Stop();  // the pools have ended their workers by now; this is for what they left behind
    for (const auto &[Path, Library] : Libraries)
        if (Library) WarnIfChanged(*Library);
}

void TWorkerRun::Stop() {
    Stopping.store(true);
    const std::lock_guard<std::mutex> Guard(Lock);
    for (const TWorker &Worker : Workers) KillWorker(Worker.Process, Worker.PidFd);
}

bool TWorkerRun::Register(pid_t Process, int PidFd) {
    const std::lock_guard<std::mutex> Guard(Lock);
    if (Stopping.load()) return false;
    Workers.push_back({Process, PidFd});
    return true;
}

void TWorkerRun::Unregister(pid_t Process) {
    const std::lock_guard<std::mutex> Guard(Lock);
    std::erase_if(Workers, [Process](const TWorker &Worker) { return Worker.Process == Process; });
}

bool TWorkerRun::Has(pid_t Process) {
    const std::lock_guard<std::mutex> Guard(Lock);
    return std::any_of(Workers.begin(), Workers.end(),
                       [Process](const TWorker &Worker) { return Worker.Process == Process; });
}

std::shared_ptr<TPinnedLibrary> TWorkerRun::Library(const std::string &Path, std::string &Error,
                                                    bool Afresh) {
    const std::lock_guard<std::mutex> Guard(Lock);
    std::shared_ptr<TPinnedLibrary> &Named = Libraries[Path];
    if (Named && !(Afresh && Named->FileChanged())) {
        WarnIfChanged(*Named);
        return Named;
    }
    // Another name of a file pinned already is that library.
    struct stat File {};
    if (!Afresh && stat(Path.c_str(), &File) == 0) {
        for (const auto &[Other, Library] : Libraries) {
            if (Library && Library->IsFile(File.st_dev, File.st_ino) && !Library->FileChanged()) {
                Named = Library;
                return Named;
            }
        }
    }
    std::shared_ptr<TPinnedLibrary> Pinned = TPinnedLibrary::Pin(Path, Error);
    if (!Pinned) {
        Libraries.erase(Path);
        return nullptr;
    }
    Named = Pinned;
    return Named;
}

void TWorkerRun::WarnIfChanged(TPinnedLibrary &Library) {
    if (!Library.FileChanged() || !Library.FirstWarning()) return;
    std::fprintf(stderr,
                 "%s: the bot library %s changed on disk during the run; the run goes on with the "
                 "library it began with (fingerprint %s)\n",
                 program_invocation_short_name, Library.Path().c_str(), Library.Fingerprint().c_str());
}

int TWorkerRun::OutputFor(const TPinnedLibrary &Library) {
    const std::lock_guard<std::mutex> Guard(Lock);
    if (!Relay) Relay = std::make_unique<TOutputRelay>(OutputFolder, OutputSink);
    return Relay->Attach(FileName(Library.Path()));
}

}  // namespace velkaran
