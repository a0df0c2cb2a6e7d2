// The texts of the game window around the board: names, status values, the round, the last card.
#pragma once

#include <velkaran/bot.h>

#include <cstdint>
#include <string>

namespace velkaran {

// The text every hidden value shows instead of a number.
inline constexpr char HiddenText[] = "скрыто";

// True when a view hides this player (its resources read -1): only the shield is real then.
bool IsHiddenStatus(const TPlayerStatus &Status);

// A status number as shown, or HiddenText when the view hides it.
std::string StatusValueText(int32_t Value, bool Hidden);

// What a building adds at the end of each round, e.g. "+3 за раунд"; empty when hidden.
std::string ProductionText(int32_t Count, bool Hidden);

// The name shown for a seat: a bot's own name; a human is "Вы", or "Игрок 1" / "Игрок 2" when both
// seats are human; a missing name is "Игрок 1" / "Игрок 2" as well.
std::string SeatName(const std::string &Name, int32_t Seat, bool BothHuman);

// The line above the board, e.g. "Раунд 5 · Ваш ход", or "Раунд 5 · Ходит Игрок 2" at one screen.
std::string TurnLine(int32_t Turn, const std::string &MoverName, bool BothHuman);

// The line above the board once the human has moved against a bot, e.g. "Раунд 5 · Ход соперника".
std::string WaitingLine(int32_t Turn);

// What the mover is told of the opponent's last card. LastMove 0 means the opponent has not moved
// yet (the first player in round 1), could pay for nothing, or hides the card behind a shield of
// more than 20 (only when the mover has a playable card); the text says which of these is possible.
std::string LastMoveText(int32_t LastMove, int32_t Turn, int32_t Seat, bool HasPlayable,
                         int32_t OpponentShield);

// The last answer of a game as its final position shows it, e.g. "Последний ход: (7) Атака 7. ...".
std::string FinalMoveText(int32_t LastMove);

// The question before a human gives up by closing the window. Resigner empty: the one human of
// the game is asked ("... засчитана вам ..."); otherwise the question names who gives up.
std::string ResignQuestionText(const std::string &Resigner);

// The running count of the set dialog, e.g. "Выбрано 7 из 15".
std::string SetCountText(int Count);

}  // namespace velkaran
