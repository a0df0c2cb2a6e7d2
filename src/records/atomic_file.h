// Writing a file so that it holds the old contents or the new ones, never a part.
#pragma once

#include <functional>
#include <string>

namespace velkaran {

// Writes Path through a temporary file of its folder: Write fills the open descriptor (false when
// it could not), then the file is flushed to disk and renamed over Path. False with Error (naming
// Path) when any step fails; Path is then as it was.
bool WriteFileAtomically(const std::string &Path, const std::function<bool(int Fd)> &Write,
                         std::string &Error);

// Why Path cannot take a document written by WriteFileAtomically: it is a folder or not a plain
// file, its folder does not exist or takes no new file. Empty when it can.
std::string UnwritablePath(const std::string &Path);

// Removes the temporary files (".NAME.XXXXXX" beside Path) that writes of Path left behind when
// their program was killed; those that a running write still holds are left alone.
void RemoveLeftoverTemporaries(const std::string &Path);

// Writes Size bytes of Data to Fd, however many calls it takes; false when the file refuses them.
bool WriteAll(int Fd, const char *Data, std::size_t Size);

}  // namespace velkaran
