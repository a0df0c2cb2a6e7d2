// Escaping a bot's text for a terminal, a report or JSON.
#include "shown_text.h"

#include <cstdint>
#include <cstdio>

namespace velkaran {
namespace {

// The length of the valid UTF-8 sequence at Text[At], or 0.
std::size_t SequenceLength(std::string_view Text, std::size_t At) {
    const auto Lead = static_cast<unsigned char>(Text[At]);
    std::size_t Length = 0;
    uint32_t Code = 0;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
        Code = Lead & 0x1F;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Code = Lead & 0x0F;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Code = Lead & 0x07;
    } else {
        return 0;
    }
    if (At + Length > Text.size()) return 0;
    for (std::size_t I = 1; I < Length; ++I) {
        const auto Next = static_cast<unsigned char>(Text[At + I]);
        if ((Next & 0xC0) != 0x80) return 0;
        Code = Code << 6 | (Next & 0x3F);
    }
    const bool Overlong = (Length == 3 && Code < 0x800) || (Length == 4 && Code < 0x10000);
    const bool Invalid = Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF);
    const bool C1Control = Code >= 0x80 && Code <= 0x9F;
    return Overlong || Invalid || C1Control ? 0 : Length;
}

}  // namespace

std::string ShownText(std::string_view Text, std::size_t Limit) {
    std::string Shown;
    std::size_t Characters = 0;
    for (std::size_t At = 0; At < Text.size(); ++Characters) {
        if (Characters == Limit) return Shown + "…";
        const auto Byte = static_cast<unsigned char>(Text[At]);
        if (Byte >= 0x20 && Byte < 0x7F) {
            Shown += Text[At++];
        } else if (const std::size_t Length = Byte >= 0x80 ? SequenceLength(Text, At) : 0; Length > 0) {
            Shown.append(Text.substr(At, Length));
            At += Length;
        } else {
            if (Byte == '\n') {
                Shown += "\\n";
            } else if (Byte == '\t') {
                Shown += "\\t";
            } else if (Byte == '\r') {
                Shown += "\\r";
            } else {
                char Escape[8];
                std::snprintf(Escape, sizeof Escape, "\\x%02X", Byte);
                Shown += Escape;
            }
            ++At;
        }
    }
    return Shown;
}

}  // namespace velkaran
