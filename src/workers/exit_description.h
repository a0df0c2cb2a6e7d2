// How a process ended, in words.
#pragma once

#include <string>

namespace velkaran {

// "killed by SIGSEGV (Segmentation fault)", "exited with status 7", from a waitpid status.
std::string DescribeWaitStatus(int Status);

}  // namespace velkaran
