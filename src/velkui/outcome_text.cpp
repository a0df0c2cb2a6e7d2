// How the end of a game reads.
#include "outcome_text.h"

#include "status_text.h"

#include "card_texts/card_words.h"
#include "rules/catalogue.h"
#include "texts/plural.h"

namespace velkaran {
namespace {

std::string LengthText(const TTurnInfo &Info) {
    if (Info.Turn <= 0) return "Партия закончилась до первого раунда.";
    return "Партия длилась " + RoundsText(Info.Turn) + ".";
}

std::string TurnLimitText(const TTurnInfo &Info) {
    return "Достигнут предел: " + RoundsText(Info.Options & TurnLimitMask) + ".";
}

// Why a refused answer was refused, e.g. "карту (7) Атака 7 нельзя сыграть".
std::string RefusedAnswer(int32_t Answer) {
    if (IsCardNumber(Answer)) return "карту " + CardTitle(Answer) + " нельзя сыграть";
    return "карты " + std::to_string(Answer) + " нет";
}

std::string Quoted(const std::string &Name) { return "«" + Name + "»"; }

// Why Loser lost, in the neutral words of a shared screen.
std::string NeutralReason(int32_t Code, const TTurnInfo &Info, const std::string &Loser) {
    if (HasFlags(Code, TimeLimitExceeded)) return Quoted(Loser) + ": ход длился дольше 20 секунд.";
    if (HasFlags(Code, ErrorOrPass)) {
        if (Info.Turn <= 0) return Quoted(Loser) + ": набор карт не принят.";
        if (Info.LastMove == 0) return Quoted(Loser) + ": отказ от хода.";
        return Quoted(Loser) + ": ход отклонён, " + RefusedAnswer(Info.LastMove) + ".";
    }
    return Quoted(Loser) + ": база разрушена.";
}

// Why Loser lost, as the final position of a game between two bots tells it. A bot that broke
// down and one that answered no card both leave LastMove 0, so the text names neither.
std::string FinalReason(int32_t Code, const TTurnInfo &Info, const std::string &Loser) {
    if (!HasFlags(Code, ErrorOrPass)) return NeutralReason(Code, Info, Loser);
    std::string What = "ход не сделан";
    if (Info.Turn <= 0)
        What = "недопустимый набор карт";
    else if (Info.LastMove != 0)
        What = "ход отклонён, " + RefusedAnswer(Info.LastMove);
    return Quoted(Loser) + ": " + What + " (ошибка или пас).";
}

using TReasonFn = std::string (*)(int32_t Code, const TTurnInfo &Info, const std::string &Loser);

TOutcome NeutralOutcome(int32_t Code, const TTurnInfo &Info, const TSeatNames &Names, TReasonFn Reason) {
    if (HasFlags(Code, TurnLimitReached)) return {"Ничья", TurnLimitText(Info), LengthText(Info)};
    const int32_t Loser = HasFlags(Code, FirstPlayerLost) ? 0 : 1;
    return {"Победил " + Quoted(Names[static_cast<std::size_t>(1 - Loser)]),
            Reason(Code, Info, Names[static_cast<std::size_t>(Loser)]), LengthText(Info)};
}

// The end of a game guessed from its final position, for a host that passes no result code.
TOutcome InferredOutcome(const TGameView &View, const TTurnInfo &Info, const TSeatNames &Names) {
    if (View[0].Base < 1) return NeutralOutcome(FirstPlayerLost, Info, Names, NeutralReason);
    if (View[1].Base < 1) return NeutralOutcome(SecondPlayerLost, Info, Names, NeutralReason);
    const int32_t Limit = Info.Options & TurnLimitMask;
    if (Info.Turn > 0 && Info.Turn == Limit && (Info.LastMove == 0 || IsCardNumber(Info.LastMove)))
        return {"Ничья", TurnLimitText(Info), LengthText(Info)};
    if (Info.Turn <= 0) return {"Партия не состоялась", "Набор карт не принят.", LengthText(Info)};
    std::string Reason = "Последний ход отклонён или длился дольше 20 секунд.";
    if (!IsCardNumber(Info.LastMove) && Info.LastMove != 0)
        Reason = "Последний ход отклонён: " + RefusedAnswer(Info.LastMove) + ".";
    return {"Партия прервана", Reason, LengthText(Info)};
}

}  // namespace

TOutcome SeatOutcome(const TTurnInfo &Info, bool Resigned) {
    const int32_t Code = Info.Result;
    if (HasFlags(Code, TurnLimitReached)) return {"Ничья", TurnLimitText(Info), LengthText(Info)};
    if (HasFlags(Code, ReceiverWon)) {
        std::string Reason = "База соперника разрушена.";
        if (HasFlags(Code, TimeLimitExceeded)) Reason = "Соперник думал над ходом дольше 20 секунд.";
        if (HasFlags(Code, ErrorOrPass)) {
            if (Info.Turn <= 0)
                Reason = "Соперник выбрал недопустимый набор карт.";
            else if (Info.LastMove == 0)
                Reason = "Соперник отказался от хода.";
            else
                Reason = "Ход соперника отклонён: " + RefusedAnswer(Info.LastMove) + ".";
        }
        return {"Вы победили", Reason, LengthText(Info)};
    }
    std::string Reason = "Ваша база разрушена.";
    if (HasFlags(Code, TimeLimitExceeded)) Reason = "Вы думали над ходом дольше 20 секунд.";
    if (HasFlags(Code, ErrorOrPass)) {
        if (Resigned)
            Reason = "Вы сдались.";
        else if (Info.Turn <= 0)
            Reason = "Ваш набор карт не принят.";
        else
            Reason = "Ваш ход отклонён: " + RefusedAnswer(Info.LastMove) + ".";
    }
    return {"Вы проиграли", Reason, LengthText(Info)};
}

TOutcome SharedOutcome(const TTurnInfo &Info, const TSeatNames &Names) {
    return NeutralOutcome(Info.Result & ~ReceiverWon, Info, Names, NeutralReason);
}

bool IsGameResultCode(int32_t Code) {
    switch (Code) {
        case FirstPlayerLost:
        case SecondPlayerLost:
        case TurnLimitReached:
        case FirstPlayerLost | ErrorOrPass:
        case SecondPlayerLost | ErrorOrPass:
        case FirstPlayerLost | TimeLimitExceeded:
        case SecondPlayerLost | TimeLimitExceeded:
            return true;
        default:
            return false;
    }
}

TOutcome FinalPositionOutcome(const TGameView &View, const TTurnInfo &Info, const TSeatNames &Names) {
    if (Info.Result == 0) return InferredOutcome(View, Info, Names);
    const int32_t Code = Info.Result & ~ReceiverWon;
    if (IsGameResultCode(Code)) return NeutralOutcome(Code, Info, Names, FinalReason);
    return {"Итог неизвестен", "Неизвестный код результата: " + std::to_string(Info.Result) + ".",
            LengthText(Info)};
}

}  // namespace velkaran
