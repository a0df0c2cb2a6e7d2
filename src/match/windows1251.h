// Converting text between UTF-8 and the Windows-1251 code page of the saved log.
#pragma once

#include <string>

namespace velkaran {

// Text (UTF-8) in Windows-1251. A character that the code page lacks, and a byte that is not
// valid UTF-8, becomes '?'; the conversion itself cannot fail.
std::string ToWindows1251(const std::string &Text);

// Text in Windows-1251 as UTF-8; the one byte without a character in the code page becomes '?'.
std::string FromWindows1251(const std::string &Text);

}  // namespace velkaran
