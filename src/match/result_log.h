// Saving the result text as a log file: every line followed by CR LF, Windows-1251 by default.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// How the log's text is encoded; every line ends with CR LF either way.
enum class TLogEncoding { Windows1251, Utf8 };

// Writes Lines (UTF-8) to Path in Encoding, each followed by CR LF, creating the file anew or
// replacing an existing one; in Windows-1251 a character the code page lacks is written as '?'.
// Returns nothing on success, or the message to show: "Cannot create file "<full path>". <system
// message>" or "Stream write error". The file is written as WriteFileSafely writes: a failed save
// leaves the old file as it was.
std::optional<std::string> SaveResultLog(const std::vector<std::string> &Lines, const std::string &Path,
                                         TLogEncoding Encoding = TLogEncoding::Windows1251);

// The lines (UTF-8) of the log at Path that SaveResultLog wrote in Encoding; nothing when the file
// cannot be read.
std::optional<std::vector<std::string>> ReadResultLog(const std::string &Path,
                                                      TLogEncoding Encoding = TLogEncoding::Windows1251);

}  // namespace velkaran
