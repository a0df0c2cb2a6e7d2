// Text that a bot sent, made safe to show: control characters and broken UTF-8 escaped, cut short.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkaran {

// Text with every control character (C0, DEL, C1) and every byte that is not part of valid UTF-8
// written as "\xNN" ("\n", "\t" and "\r" as such), cut after Limit characters with "…".
std::string ShownText(std::string_view Text, std::size_t Limit = 200);

}  // namespace velkaran
