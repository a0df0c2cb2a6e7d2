// The player-name check and the opponent-name field of the turn information.
#include "player_names.h"

#include <velkaran/bot.h>

#include <algorithm>
#include <cstring>

namespace velkaran {
namespace {

constexpr bool IsNameCharacter(unsigned char Code) {
    return Code == ' ' || Code == '(' || Code == ')' || Code == '+' || Code == '-' || Code == '.' ||
           Code == '_' || (Code >= '0' && Code <= '9') || (Code >= 'A' && Code <= 'Z') ||
           (Code >= 'a' && Code <= 'z');
}

}  // namespace

bool IsValidName(const char *Text) {
    if (Text == nullptr) return false;
    // Looks at no more than MaxNameLength + 1 bytes, so a text without its zero byte is never overrun.
    const std::size_t Length = strnlen(Text, MaxNameLength + 1);
    if (Length > MaxNameLength) return false;
    return std::all_of(Text, Text + Length,
                       [](char Code) { return IsNameCharacter(static_cast<unsigned char>(Code)); });
}

void SetOpponentName(char (&Field)[31], std::string_view Name) {
    std::memset(Field, 0, sizeof Field);
    std::memcpy(Field, Name.data(), std::min<std::size_t>(Name.size(), MaxNameLength));
}

}  // namespace velkaran
