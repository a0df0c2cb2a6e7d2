// Landlock through its raw system calls: the ABI this kernel offers, and confining the process to
// reading a few files and folders.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

// The highest Landlock ABI the kernel offers, 0 when it lacks Landlock or has it disabled; sets
// Disabled when the kernel has Landlock but it was not enabled at boot.
int LandlockAbi(bool &Disabled);

// Landlock from ABI 8 on restricts every thread of the process at once; earlier ABIs only the caller.
inline constexpr int LandlockAbiForAllThreads = 8;

// A file or a folder the process may still read (a folder: with everything beneath it).
struct TReadable {
    int Fd = -1;           // opened beforehand (O_PATH will do), so that it is found whoever runs later
    std::string Path;      // for messages
    bool Execute = false;  // may also be run or mapped as code
};

// Lets the process, from now on, only read the files and list the folders of Readable: no other
// access to the file system, no TCP (ABI 4), and from ABI 6 no signals or abstract Unix sockets
// beyond its own Landlock domain. Open descriptors stay usable. Abi is LandlockAbi(). Empty on
// success, else what failed.
std::string RestrictFileAccess(const std::vector<TReadable> &Readable, int Abi);

}  // namespace velkaran
