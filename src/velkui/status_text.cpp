// The texts of the game window around the board.
#include "status_text.h"

#include "rules/catalogue.h"
#include "rules/game_limits.h"
#include "rules/player_names.h"

#include <string_view>

namespace velkaran {

bool IsHiddenStatus(const TPlayerStatus &Status) {
    return Status.Energy < 0 && Status.Metal < 0 && Status.Elements < 0;
}

std::string StatusValueText(int32_t Value, bool Hidden) {
    return Hidden ? HiddenText : std::to_string(Value);
}

std::string ProductionText(int32_t Count, bool Hidden) {
    if (Hidden) return {};
    return (Count >= 0 ? "+" : "") + std::to_string(Count) + " за раунд";
}

std::string SeatName(const std::string &Name, int32_t Seat, bool BothHuman) {
    const std::string Numbered = "Игрок " + std::to_string(Seat + 1);
    if (Name.empty()) return Numbered;
    if (Name == HumanName) return BothHuman ? Numbered : "Вы";
    return Name;
}

std::string TurnLine(int32_t Turn, const std::string &MoverName, bool BothHuman) {
    const std::string Round = "Раунд " + std::to_string(Turn) + " · ";
    return Round + (BothHuman ? "Ходит " + MoverName : std::string("Ваш ход"));
}

std::string WaitingLine(int32_t Turn) { return "Раунд " + std::to_string(Turn) + " · Ход соперника"; }

std::string LastMoveText(int32_t LastMove, int32_t Turn, int32_t Seat, bool HasPlayable,
                         int32_t OpponentShield) {
    if (IsCardNumber(LastMove)) return "Последний ход соперника: " + std::string(CardDescriptions[LastMove]);
    if (LastMove != 0) return "Последний ход соперника: " + std::to_string(LastMove);
    if (Seat == 0 && Turn <= 1) return "Соперник ещё не ходил.";
    if (HasPlayable && OpponentShield > HiddenShieldLimit)
        return "Последний ход соперника скрыт: его щит больше 20.";
    return "Соперник пропустил ход: ему нечем было заплатить.";
}

std::string FinalMoveText(int32_t LastMove) {
    if (IsCardNumber(LastMove)) return "Последний ход: " + std::string(CardDescriptions[LastMove]);
    if (LastMove == 0) return "Последний ход: без карты.";
    return "Последний ход: " + std::to_string(LastMove) + " (такой карты нет).";
}

std::string ResignQuestionText(const std::string &Resigner) {
    if (Resigner.empty()) return "Закрыть окно и сдаться? Партия будет засчитана вам как проигрыш.";
    return "Закрыть окно и сдаться? Сдаётся " + Resigner + ": партия будет засчитана ему как проигрыш.";
}

std::string SetCountText(int Count) {
    return "Выбрано " + std::to_string(Count) + " из " + std::to_string(CardSetSize);
}

}  // namespace velkaran
