// Running velkaran-match from the tests: posix_spawn in a fresh folder, output caught in files.
#include "cli_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

extern char **environ;

namespace velkaran::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path &Path) {
    std::ifstream File(Path, std::ios::binary);
    std::ostringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

std::string VariableName(const std::string &Entry) { return Entry.substr(0, Entry.find('=')); }

// The test's own environment without locale settings, then LC_ALL=C, then Overrides.
std::vector<std::string> ChildEnvironment(const std::vector<std::string> &Overrides) {
    std::vector<std::string> Result;
    for (char **Entry = environ; *Entry != nullptr; ++Entry) {
        const std::string Name = VariableName(*Entry);
        if (Name == "LANG" || Name == "LANGUAGE" || Name == "LOCPATH" || Name.starts_with("LC_")) continue;
        Result.emplace_back(*Entry);
    }
    Result.emplace_back("LC_ALL=C");
    for (const std::string &Override : Overrides) {
        std::erase_if(
            Result, [&](const std::string &Entry) { return VariableName(Entry) == VariableName(Override); });
        Result.push_back(Override);
    }
    return Result;
}

std::vector<char *> Pointers(std::vector<std::string> &Texts) {
    std::vector<char *> Result;
    for (std::string &Text : Texts) Result.push_back(Text.data());
    Result.push_back(nullptr);
    return Result;
}

}  // namespace

MatchFolder::MatchFolder() {
    std::string Pattern = (fs::temp_directory_path() / "velkaran-cli-XXXXXX").string();
    if (mkdtemp(Pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a test folder";
    Path = fs::path(Pattern) / "bots";
    fs::create_directory(Path);
}

MatchFolder::~MatchFolder() {
    for (const int Process : ProcessesLeft()) kill(Process, SIGKILL);  // a failed check must not leave them
    std::error_code Ignored;
    fs::remove_all(Path.parent_path(), Ignored);
}

void MatchFolder::AddSampleBot(const std::string &Bot, const std::string &FileName) const {
    fs::copy_file(fs::path(VELKARAN_SAMPLE_BOTS_DIR) / Bot, Path / (FileName.empty() ? Bot : FileName));
}

void MatchFolder::AddTestBot(const std::string &Bot, const std::string &FileName) const {
    fs::copy_file(fs::path(VELKARAN_CLI_TEST_BOTS_DIR) / (Bot + ".so"), Path / FileName);
}

void MatchFolder::AddPlayersTestBot(const std::string &Bot, const std::string &FileName) const {
    fs::copy_file(fs::path(VELKARAN_TEST_BOTS_DIR) / (Bot + ".so"), Path / FileName);
}

void MatchFolder::AddTextFile(const std::string &FileName, const std::string &Text) const {
    std::ofstream(Path / FileName) << Text;
}

void MatchFolder::AddFolder(const std::string &Name) const { fs::create_directory(Path / Name); }

TCliRun MatchFolder::Run(const std::vector<std::string> &Arguments,
                         const std::vector<std::string> &Environment) const {
    return RunProgram(VELKARAN_MATCH_PATH, Arguments, Environment);
}

TCliRun MatchFolder::RunProgram(const std::string &Program, const std::vector<std::string> &Arguments,
                                const std::vector<std::string> &Environment) const {
    TCliChild Child = Start(Program, Arguments, Environment);
    return Finish(Child);
}

TCliChild MatchFolder::Start(const std::string &Program, const std::vector<std::string> &Arguments,
                             const std::vector<std::string> &Environment) const {
    // Pipes, as in $(velkaran-match ...): the run is over only when nothing holds them open.
    TCliChild Child;
    int Out[2];
    int Err[2];
    if (pipe2(Out, O_CLOEXEC) != 0 || pipe2(Err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "cannot make pipes";
        return Child;
    }
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, Out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&Actions, Err[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&Actions, Path.c_str());

    std::vector<std::string> Argv = {Program};
    Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
    std::vector<std::string> Envp = ChildEnvironment(Environment);
    Envp.push_back(Tag());
    std::vector<char *> ArgvPointers = Pointers(Argv);
    std::vector<char *> EnvpPointers = Pointers(Envp);

    Child.Started = std::chrono::steady_clock::now();
    const int Error =
        posix_spawn(&Child.Pid, Program.c_str(), &Actions, nullptr, ArgvPointers.data(), EnvpPointers.data());
    posix_spawn_file_actions_destroy(&Actions);
    close(Out[1]);
    close(Err[1]);
    Child.Out = Out[0];
    Child.Err = Err[0];
    if (Error != 0) {
        ADD_FAILURE() << "cannot start " << Program << ": error " << Error;
        Child.Pid = -1;
    }
    return Child;
}

TCliRun MatchFolder::Finish(TCliChild &Child) const {
    TCliRun Result;
    // Both pipes to their end, within two minutes.
    pollfd Watch[2] = {{Child.Out, POLLIN, 0}, {Child.Err, POLLIN, 0}};
    std::string *Texts[2] = {&Result.Out, &Result.Err};
    int Open = Child.Pid > 0 ? 2 : 0;
    while (Open > 0) {
        const auto Left = std::chrono::minutes(2) - (std::chrono::steady_clock::now() - Child.Started);
        const int Ready = poll(
            Watch, 2, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Left).count()));
        if (Ready < 0 && errno == EINTR) continue;
        if (Ready <= 0) {
            ADD_FAILURE() << "the run did not end within two minutes";
            kill(Child.Pid, SIGKILL);
            break;
        }
        for (int I = 0; I < 2; ++I) {
            if (Watch[I].fd < 0 || Watch[I].revents == 0) continue;
            char Buffer[65536];
            const ssize_t Read = read(Watch[I].fd, Buffer, sizeof Buffer);
            if (Read > 0) {
                Texts[I]->append(Buffer, static_cast<std::size_t>(Read));
            } else {
                close(Watch[I].fd);
                Watch[I].fd = -1;
                --Open;
            }
        }
    }
    for (const pollfd &Pipe : Watch)
        if (Pipe.fd >= 0) close(Pipe.fd);
    if (Child.Pid <= 0) return Result;
    int WaitStatus = 0;
    rusage Usage{};
    if (wait4(Child.Pid, &WaitStatus, 0, &Usage) != Child.Pid) ADD_FAILURE() << "wait4 failed";
    Result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Child.Started).count();
    Result.MaxRssKb = Usage.ru_maxrss;
    if (WIFEXITED(WaitStatus)) Result.Status = WEXITSTATUS(WaitStatus);
    if (WIFSIGNALED(WaitStatus)) Result.Status = 128 + WTERMSIG(WaitStatus);
    Child.Pid = -1;
    return Result;
}

std::string MatchFolder::Tag() const { return "VELKARAN_TEST_FOLDER=" + Path.string(); }

std::vector<int> MatchFolder::ProcessesLeft() const {
    std::vector<int> Found;
    const std::string Wanted = Tag();
    std::error_code Ignored;
    for (const auto &Entry : fs::directory_iterator("/proc", Ignored)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string Environment = ReadFile(Entry.path() / "environ");
        std::size_t At = 0;
        while (At < Environment.size()) {
            const std::size_t End = Environment.find('\0', At);
            if (Environment.compare(At, End - At, Wanted) == 0) {
                Found.push_back(std::stoi(Name));
                break;
            }
            if (End == std::string::npos) break;
            At = End + 1;
        }
    }
    return Found;
}

bool SeccompAvailable(const MatchFolder &Folder) {
    return Folder.Run({"--sandbox-check"}).Out.find("System-call filter (seccomp): active") !=
           std::string::npos;
}

std::vector<std::string> Lines(const std::string &Text) {
    std::vector<std::string> Result;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        const std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos) {
            ADD_FAILURE() << "the text does not end with a line break";
            Result.push_back(Text.substr(Start));
            break;
        }
        Result.push_back(Text.substr(Start, End - Start));
        Start = End + 1;
    }
    return Result;
}

std::string GoldenText(const std::string &Name, const std::string &Actual) {
    const fs::path File = fs::path(VELKARAN_CLI_GOLDEN_DIR) / Name;
    const char *Update = std::getenv("VELKARAN_UPDATE_GOLDEN");
    if (Update != nullptr && std::string(Update) == "1") std::ofstream(File, std::ios::binary) << Actual;
    if (!fs::exists(File)) ADD_FAILURE() << "golden file " << File << " is missing";
    return ReadFile(File);
}

std::string WithoutTimings(const std::string &Text) {
    const std::string TimeLine = "Время игры : ";
    const std::string PointsLine = "Очки ";
    const std::string SeriesPoints = " очков";
    std::string Result;
    for (const std::string &Line : Lines(Text)) {
        if (Line.starts_with(TimeLine) && Line.ends_with(" мс")) {
            Result += TimeLine + "# мс\n";
        } else if (Line.starts_with(PointsLine) && Line.find(" : ") != std::string::npos) {
            Result += Line.substr(0, Line.rfind(" : ")) + " : #\n";
        } else if (Line.ends_with(SeriesPoints) && Line.find(" : ") != std::string::npos) {
            Result += Line.substr(0, Line.rfind(" : ")) + " : #" + SeriesPoints + "\n";
        } else {
            Result += Line + "\n";
        }
    }
    return Result;
}

bool RussianLocale(const std::filesystem::path &Scratch, std::string &LocPath) {
    LocPath.clear();
    if (std::FILE *List = popen("locale -a 2>/dev/null", "r")) {
        char Line[256];
        bool Found = false;
        while (std::fgets(Line, sizeof Line, List) != nullptr) {
            const std::string Name = Line;
            if (Name.starts_with("ru_RU.utf8") || Name.starts_with("ru_RU.UTF-8")) Found = true;
        }
        pclose(List);
        if (Found) return true;
    }
    if (!fs::exists("/usr/share/i18n/locales/ru_RU")) return false;
    const fs::path Generated = Scratch / "locale";
    fs::create_directories(Generated);
    const std::string Command =
        "localedef -i ru_RU -f UTF-8 '" + (Generated / "ru_RU.UTF-8").string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int Ignored = std::system(Command.c_str());  // mere warnings give status 1
    if (!fs::exists(Generated / "ru_RU.UTF-8" / "LC_NUMERIC")) return false;
    LocPath = Generated.string();
    return true;
}

}  // namespace velkaran::testing
