// The line protocol: the host's lines written, the program's answers read and checked.
#include "line_protocol.h"

#include <charconv>

namespace velkaran::line_protocol {
namespace {

void Number(std::string &Out, int64_t Value) {
    char Text[24];
    const auto Result = std::to_chars(Text, Text + sizeof Text, Value);
    Out += ' ';
    Out.append(Text, Result.ptr);
}

// The opponent's name as the record holds it, up to its first zero byte; a control character
// (which no valid name holds) becomes '?', so that the line stays one line.
void Name(std::string &Out, const TTurnInfo &Info) {
    Out += ' ';
    for (const char Character : Info.OpponentName) {
        if (Character == '\0') break;
        const auto Byte = static_cast<unsigned char>(Character);
        Out += Byte < 0x20 || Byte == 0x7F ? '?' : Character;
    }
    Out += '\n';
}

void Information(std::string &Out, const TTurnInfo &Info) {
    Number(Out, Info.LastMove);
    Number(Out, Info.Turn);
    Number(Out, Info.Options);
    Number(Out, Info.Result);
    Name(Out, Info);
}

// Reads the word Expected at the start of Line; the rest after one blank goes to Rest.
bool Keyword(std::string_view Line, std::string_view Expected, std::string_view &Rest) {
    if (Line == Expected) {
        Rest = {};
        return true;
    }
    if (!Line.starts_with(Expected) || Line.size() <= Expected.size() || Line[Expected.size()] != ' ')
        return false;
    Rest = Line.substr(Expected.size() + 1);
    return true;
}

// Reads Count blank-separated 32-bit numbers that make up all of Text.
bool Numbers(std::string_view Text, int32_t *Values, int Count) {
    const char *At = Text.data();
    const char *End = Text.data() + Text.size();
    for (int I = 0; I < Count; ++I) {
        if (I > 0) {
            if (At == End || *At != ' ') return false;
            ++At;
        }
        const auto Result = std::from_chars(At, End, Values[I]);
        if (Result.ec != std::errc() || Result.ptr == At) return false;
        At = Result.ptr;
    }
    return At == End;
}

}  // namespace

std::string Greeting() { return "velkaran " + std::to_string(Version) + "\n"; }

std::optional<std::string> ReadGreeting(std::string_view Line, std::string &Error) {
    std::string_view Rest;
    if (!Keyword(Line, "velkaran", Rest)) {
        Error = "expected \"velkaran " + std::to_string(Version) + " NAME\"";
        return std::nullopt;
    }
    const std::size_t Blank = Rest.find(' ');
    const std::string_view Spoken = Rest.substr(0, Blank);
    int32_t Speaks = 0;
    const auto Result = std::from_chars(Spoken.data(), Spoken.data() + Spoken.size(), Speaks);
    if (Result.ec != std::errc() || Result.ptr != Spoken.data() + Spoken.size()) {
        Error = "expected \"velkaran " + std::to_string(Version) + " NAME\"";
        return std::nullopt;
    }
    if (Speaks != Version) {
        Error = "it speaks version " + std::to_string(Speaks) +
                " of the line protocol; this host speaks version " + std::to_string(Version);
        return std::nullopt;
    }
    return std::string(Blank == std::string_view::npos ? std::string_view() : Rest.substr(Blank + 1));
}

void WriteStartGame(std::string &Out, int32_t PlayerIndex, bool Opening, const TTurnInfo &Info) {
    Out += Opening ? "start" : "end";
    Number(Out, PlayerIndex);
    Information(Out, Info);
}

void WriteGetTurn(std::string &Out, int32_t PlayerIndex, const TGameView &View, const TCardList *Playable,
                  const TTurnInfo &Info) {
    Out += "turn";
    Number(Out, PlayerIndex);
    for (const TPlayerStatus &Player : View.Player) {
        for (const int32_t Value : {Player.Base, Player.Shield, Player.Batteries, Player.Mines,
                                    Player.Laboratories, Player.Energy, Player.Metal, Player.Elements})
            Number(Out, Value);
    }
    for (int I = 0; I < CardSetSize; ++I) Number(Out, Playable != nullptr ? Playable->Card[I] : 0);
    Information(Out, Info);
}

bool ReadSet(std::string_view Line, TCardList &Set, std::string &Error) {
    std::string_view Rest;
    if (Keyword(Line, "set", Rest) && Numbers(Rest, Set.Card, CardSetSize)) return true;
    Error = "expected \"set\" and 15 cards";
    return false;
}

bool ReadPlay(std::string_view Line, int32_t &Card, std::string &Error) {
    std::string_view Rest;
    if (Keyword(Line, "play", Rest) && Numbers(Rest, &Card, 1)) return true;
    Error = "expected \"play CARD\"";
    return false;
}

bool ReadOk(std::string_view Line, std::string &Error) {
    if (Line == "ok") return true;
    Error = "expected \"ok\"";
    return false;
}

}  // namespace velkaran::line_protocol
