// Saving the result text as a log file: Windows-1251, every line followed by CR LF.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// Writes Lines (UTF-8) to Path in Windows-1251, each followed by CR LF, creating the file anew.
// Returns nothing on success, or the message to show: "Cannot create file "<path>". <reason>"
// or "Stream write error".
std::optional<std::string> SaveResultLog(const std::vector<std::string> &Lines, const std::string &Path);

}  // namespace velkaran
