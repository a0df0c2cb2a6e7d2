#include "sandbox.h"

#include "landlock_ruleset.h"
#include "process_limit.h"
#include "syscall_filter.h"
#include "violation_handler.h"

#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

// What the dynamic loader and the C and C++ runtimes read: the loader's cache and the system's
// library folders, and the folders of the libraries this process runs already (a runtime
// installed elsewhere).
std::set<std::string> SystemLibraryPaths() {
    std::set<std::string> Paths{"/etc/ld.so.cache", "/lib",           "/lib64",          "/usr/lib",
                                "/usr/lib64",       "/usr/local/lib", "/usr/local/lib64"};
    dl_iterate_phdr(
        [](dl_phdr_info *Info, size_t, void *Data) {
            if (Info->dlpi_name != nullptr && Info->dlpi_name[0] == '/')
                static_cast<std::set<std::string> *>(Data)->insert(fs::path(Info->dlpi_name).parent_path());
            return 0;
        },
        &Paths);
    return Paths;
}

// What a program and its interpreter run through and read besides the library folders: the
// system's programs, the loader's cache, the time zone and Python's site configuration.
std::vector<std::pair<std::string, bool>> SystemProgramPaths() {
    std::vector<std::pair<std::string, bool>> Paths{{"/usr", true},
                                                    {"/bin", true},
                                                    {"/lib", true},
                                                    {"/lib64", true},
                                                    {"/etc/localtime", false},
                                                    {"/etc/locale.alias", false}};
    std::error_code Error;
    for (fs::directory_iterator It("/etc", Error), End; !Error && It != End; It.increment(Error))
        if (It->path().filename().string().starts_with("python"))
            Paths.emplace_back(It->path().string(), false);
    return Paths;
}

// Descriptors for Landlock's rules, closed when it has them.
class TReadableSet {
public:
    ~TReadableSet() {
        for (const TReadable &Entry : Entries) close(Entry.Fd);
    }
    // Adds Path when it can be opened; true when it was.
    bool Add(const std::string &Path, bool Execute) {
        const int Fd = open(Path.c_str(), O_PATH | O_CLOEXEC);
        if (Fd >= 0) Entries.push_back({Fd, Path, Execute});
        return Fd >= 0;
    }
    std::vector<TReadable> Entries;
};

// Whether the mode bits of a file let Identity read it.
bool MayRead(const struct stat &Status, const TBotIdentity &Identity) {
    if (Status.st_uid == Identity.Uid) return (Status.st_mode & S_IRUSR) != 0;
    if (Status.st_gid == Identity.Gid) return (Status.st_mode & S_IRGRP) != 0;
    return (Status.st_mode & S_IROTH) != 0;
}

// A descriptor of the library that Identity can load through /proc/self/fd: the file itself when
// its mode lets Identity read it, else a private copy in memory. -1 with errno on failure.
int LibraryForIdentity(const std::string &Library, const TBotIdentity &Identity) {
    const int Fd = open(Library.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat Status {};
    if (Fd < 0 || fstat(Fd, &Status) != 0) return -1;
    if (MayRead(Status, Identity)) return Fd;
    const int Copy = memfd_create("bot-library", MFD_CLOEXEC);
    off_t Offset = 0;
    while (Copy >= 0 && Offset < Status.st_size)
        if (sendfile(Copy, Fd, &Offset, static_cast<size_t>(Status.st_size - Offset)) <= 0) break;
    const int Error = errno;
    close(Fd);
    if (Copy >= 0 && Offset == Status.st_size) return Copy;
    if (Copy >= 0) close(Copy);
    errno = Error;
    return -1;
}

}  // namespace

std::string BotDataFolder(const std::string &LibraryPath) {
    const fs::path Library(LibraryPath);
    std::string Name = Library.filename().string();
    for (const std::string_view Suffix : {".so", ".bot"})
        if (Name.ends_with(Suffix)) Name.resize(Name.size() - Suffix.size());
    return (Library.parent_path() / (Name + ".data")).string();
}

std::string EnterSandbox(const TSandboxPolicy &Given, TViolationReporter Reporter, std::string &LoadPath) {
    TSandboxPolicy Policy = Given;
    if (Policy.Identity && Policy.Identity->OwnUser) Policy.Identity->Uid = OwnUid(getpid());
    const TSandboxLayers Layers = DetectKernelLayers();
    LoadPath = Policy.Library;
    std::string Failure = InstallViolationHandler(Reporter);
    if (!Failure.empty()) return Failure;

    // Everything the bot may read is opened now, while the folders above it can still be passed.
    TReadableSet Readable;
    std::vector<std::string> Executables, Scripts;
    if (Policy.Program) {
        // What cannot be opened now cannot be run later: the reach check below says why.
        Executables = ProgramExecutables(Policy.Program->Program);
        Scripts = ProgramScripts(*Policy.Program);
        for (const std::string &File : Executables) Readable.Add(File, true);
        Readable.Add(Policy.Program->Directory, false);
        for (const auto &[Path, Execute] : SystemProgramPaths()) Readable.Add(Path, Execute);
    } else {
        Readable.Add(Policy.Library, true);  // a library that cannot be opened fails to load, and says why
    }
    if (!Policy.DataFolder.empty()) Readable.Add(Policy.DataFolder, false);
    for (const std::string &Path : SystemLibraryPaths()) Readable.Add(Path, true);
    int LibraryFd = -1;
    if (Policy.Identity && !Policy.LibraryOpen && !Policy.Program) {
        LibraryFd = LibraryForIdentity(Policy.Library, *Policy.Identity);
        if (LibraryFd < 0 && errno != ENOENT)
            return "privileges: cannot open the library for user " + Policy.Identity->Name + ": " +
                   std::strerror(errno);
    }

    Failure = DropPrivileges(Policy.Identity);
    if (!Failure.empty()) return Failure;
    if (Policy.Program) {
        Failure = ProgramUnreachable(*Policy.Program, Executables, Scripts);
        if (!Failure.empty()) return Failure;
    }
    if (LibraryFd >= 0 && access(Policy.Library.c_str(), R_OK) != 0)
        LoadPath = "/proc/self/fd/" + std::to_string(LibraryFd);  // kept open for the process's life
    else if (LibraryFd >= 0)
        close(LibraryFd);

    if (Layers.NoNewPrivileges && prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return std::string("no new privileges: ") + std::strerror(errno);
    if (!Policy.TasksCapped && ProcessLimitTakesEffect())
        Failure = LimitProcesses(Policy.Identity && Policy.Identity->OwnUser);
    if (Failure.empty() && Layers.LandlockAbi > 0)
        Failure = RestrictFileAccess(Readable.Entries, Layers.LandlockAbi);
    if (Failure.empty() && Layers.Seccomp)
        Failure = LoadSyscallFilter({getpid(), Policy.MemoryCapped, Policy.Program.has_value()});
    return Failure;
}

}  // namespace velkaran
