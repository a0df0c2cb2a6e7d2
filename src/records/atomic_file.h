// Writing a file so that it holds the old contents or the new ones, never a part: the one way the
// program writes its logs, documents and plans.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace velkaran {

// Why a write failed: the file could not be made (nor its temporary neighbour, nor renamed over
// it), or the bytes could not be written; Errno says what the system answered.
struct TWriteFailure {
    enum class TStep { Create, Write } Step = TStep::Create;
    int Errno = 0;
};

// Writes Path through a temporary file of its folder: Write fills the open descriptor (false
// when it could not), then the file is flushed to disk and renamed over Path. A new file gets the
// usual permissions (0666 less the umask), an existing one keeps its own. What the user means by
// a path that is not a plain file of their own (a symbolic or hard link, a device, a pipe, another
// owner's file), and a file in a folder that takes no new one, are written in place instead; a
// file the user may not write stays refused. Nothing on success; else why, and Path is as it was
// (unless it was written in place).
std::optional<TWriteFailure> WriteFileSafely(const std::string &Path,
                                             const std::function<bool(int Fd)> &Write);

// WriteFileSafely with the failure in words in Error: "cannot write <Path>: <system message>".
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
