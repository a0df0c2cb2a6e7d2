// Text that came from a bot, made fit to be shown: on a terminal, in a log, in a window.
#pragma once

#include <string>
#include <string_view>

namespace velkaran {

// Text with every control byte (below 0x20, and 0x7F) written as "\xNN"; other bytes as they are.
std::string EscapeControlCharacters(std::string_view Text);

}  // namespace velkaran
