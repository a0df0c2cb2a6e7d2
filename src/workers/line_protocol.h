// The line protocol, version 1: how the host talks to a bot that is a program, over the program's
// standard input and output. Each call of the C interface is one line to the program, carrying what
// the call carries; each answer is one line back. Numbers are decimal, fields one blank apart, every
// line ends with "\n"; the opponent's name, last on a line, is the rest of it (it may be empty).
//
//   host: velkaran 1                                    program: velkaran 1 NAME
//   host: start P LAST TURN OPTIONS RESULT OPPONENT     program: set C1 ... C15
//   host: turn P V1 ... V16 C1 ... C15 LAST TURN OPTIONS RESULT OPPONENT
//                                                       program: play CARD
//   host: end P LAST TURN OPTIONS RESULT OPPONENT       program: ok
//
// "start" is StartGame at the start of a game (the program answers its set), "end" the closing
// StartGame (its answer says nothing), "turn" GetTurn: the view (both players' base, shield,
// batteries, mines, laboratories, energy, metal, electro-elements, the first player first), the 15
// playable cards (all 0 when it can pay for nothing: its answer is then ignored, but must come) and
// the turn information. A program that answers anything else, or late, or not at all, breaks the
// protocol as a crashing library does. When the run ends the host closes the program's input.
#pragma once

#include <velkaran/bot.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaran::line_protocol {

inline constexpr int32_t Version = 1;

// The longest answer line the host reads, its "\n" included; a longer one breaks the protocol.
inline constexpr std::size_t MaxAnswerBytes = 1024;

// The host's first line.
std::string Greeting();

// The name in the program's answer to the greeting ("velkaran 1 NAME"), or nothing with the
// reason in Error.
std::optional<std::string> ReadGreeting(std::string_view Line, std::string &Error);

// Appends the line of a StartGame call: "start" when CardSet is passed (the opening), else "end".
void WriteStartGame(std::string &Out, int32_t PlayerIndex, bool Opening, const TTurnInfo &Info);

// Appends the line of a GetTurn call; Playable may be null.
void WriteGetTurn(std::string &Out, int32_t PlayerIndex, const TGameView &View, const TCardList *Playable,
                  const TTurnInfo &Info);

// The answers, each read from one line without its "\n": true with the value, or false with the
// reason in Error (which says what was expected; the caller quotes the line).
bool ReadSet(std::string_view Line, TCardList &Set, std::string &Error);
bool ReadPlay(std::string_view Line, int32_t &Card, std::string &Error);
bool ReadOk(std::string_view Line, std::string &Error);

}  // namespace velkaran::line_protocol
