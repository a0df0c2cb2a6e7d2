// How a process ended, in words, from its wait status.
#include "exit_description.h"

#include <sys/wait.h>

#include <cstring>

namespace velkaran {

std::string DescribeWaitStatus(int Status) {
    if (WIFEXITED(Status)) return "exited with status " + std::to_string(WEXITSTATUS(Status));
    if (WIFSIGNALED(Status)) {
        const int Signal = WTERMSIG(Status);
        const char *Abbreviation = sigabbrev_np(Signal);
        const char *Meaning = sigdescr_np(Signal);
        std::string Text = "killed by ";
        Text +=
            Abbreviation != nullptr ? std::string("SIG") + Abbreviation : "signal " + std::to_string(Signal);
        if (Meaning != nullptr) Text += std::string(" (") + Meaning + ")";
        return Text;
    }
    return "ended with wait status " + std::to_string(Status);
}

}  // namespace velkaran
