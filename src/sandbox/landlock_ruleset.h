// Landlock through its raw system calls: the ABI this kernel offers, and confining the process to
// reading one folder.
#pragma once

#include <string>

namespace velkaran {

// The highest Landlock ABI the kernel offers, 0 when it lacks Landlock or has it disabled; sets
// Disabled when the kernel has Landlock but it was not enabled at boot.
int LandlockAbi(bool &Disabled);

// Landlock from ABI 8 on restricts every thread of the process at once; earlier ABIs only the caller.
inline constexpr int LandlockAbiForAllThreads = 8;

// Lets the process, from now on, only read files and list folders in Folder and beneath it: no
// other access to the file system, no TCP (ABI 4), and from ABI 6 no signals or abstract Unix
// sockets beyond its own Landlock domain. Open descriptors stay usable. Abi is LandlockAbi().
// Empty on success, else what failed.
std::string RestrictToReadingFolder(const std::string &Folder, int Abi);

}  // namespace velkaran
