#include "printable_text.h"

#include <cstdio>

namespace velkaran {

std::string EscapeControlCharacters(std::string_view Text) {
    std::string Result;
    Result.reserve(Text.size());
    for (const char Char : Text) {
        const auto Byte = static_cast<unsigned char>(Char);
        if (Byte < 0x20 || Byte == 0x7F) {
            char Escaped[8];
            std::snprintf(Escaped, sizeof Escaped, "\\x%02X", Byte);
            Result += Escaped;
        } else {
            Result += Char;
        }
    }
    return Result;
}

}  // namespace velkaran
