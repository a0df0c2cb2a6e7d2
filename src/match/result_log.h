// Saving the result text as a log file: Windows-1251, every line followed by CR LF.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// Writes Lines (UTF-8) to Path in Windows-1251, each followed by CR LF, creating the file anew
// or replacing an existing one; a character the code page lacks is written as '?'. Returns
// nothing on success, or the message to show: "Cannot create file "<full path>". <system
// message>" or "Stream write error". A plain file is replaced only once the new text is wholly
// written, so a failed save leaves the old file as it was.
std::optional<std::string> SaveResultLog(const std::vector<std::string> &Lines, const std::string &Path);

}  // namespace velkaran
