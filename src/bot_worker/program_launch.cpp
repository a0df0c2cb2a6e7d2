// Becoming a program bot.
#include "program_launch.h"

#include "workers/worker_protocol.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velkaran::worker {

std::string EnterProgramFolder(const TProgramLaunch &Launch) {
    if (chdir(Launch.Directory.c_str()) == 0) return "";
    return "cannot enter the folder " + Launch.Directory + ": " + std::strerror(errno);
}

std::string LaunchProgram(const TProgramLaunch &Launch) {
    // The protocol's lines on standard input and output; standard error stays the bot's output.
    if (dup2(RequestFd, STDIN_FILENO) < 0 || dup2(AnswerFd, STDOUT_FILENO) < 0)
        return std::string("cannot hand the program its pipes: ") + std::strerror(errno);
    syscall(SYS_close_range, STDERR_FILENO + 1, ~0U, 0);
    std::vector<char *> Argv;
    for (const std::string &Argument : Launch.Arguments) Argv.push_back(const_cast<char *>(Argument.c_str()));
    Argv.push_back(nullptr);
    execv(Launch.Program.c_str(), Argv.data());
    return "cannot run " + Launch.Program + ": " + std::strerror(errno);
}

}  // namespace velkaran::worker
