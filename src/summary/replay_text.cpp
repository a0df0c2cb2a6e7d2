// The replay viewer's texts, step by step.
#include "replay_text.h"

#include "card_texts/card_cost_text.h"
#include "card_texts/card_words.h"
#include "records/refusal.h"
#include "results_text.h"
#include "rules/catalogue.h"
#include "rules/player_names.h"
#include "rules/turn_rules.h"
#include "texts/plural.h"

#include <algorithm>

namespace velkaran {
namespace {

std::string SeatShownName(const TGameRecord &Record, int32_t Seat) {
    const std::string &Name = Record.Seats[static_cast<std::size_t>(Seat)].Name;
    if (Name == HumanName) return "Человек";
    return Name.empty() ? "Игрок " + std::to_string(Seat + 1) : Name;
}

std::string Quoted(const std::string &Name) { return "«" + Name + "»"; }

bool IsRefusedMove(const TGameRecord &Record, std::size_t Step, std::size_t StepCount) {
    return Step + 1 == StepCount && Record.Termination == TTermination::RefusedCard;
}

// A move in words, after the mover's name: the card's whole text, or (Short) only its title.
// Refused: the rules refused its card.
std::string MoveWords(const TReplayStep &Move, bool Refused, bool Short) {
    if (Move.Card == 0)
        return Refused ? "отказ от хода (ответ 0, хотя было чем заплатить)" : "нечем заплатить, ход пропущен";
    std::string Card = "карта " + std::to_string(Move.Card);
    if (IsCardNumber(Move.Card))
        Card = Short ? CardTitle(Move.Card) : std::string(CardDescriptions[Move.Card]);
    return Refused ? Card + " — отклонено правилами" : Card;
}

std::string Reason(const TGameRecord &Record, const std::string &Loser) {
    switch (Record.Termination) {
        case TTermination::BaseDestroyed:
            return "база " + Loser + " разрушена";
        case TTermination::InvalidSet:
            return Loser + " выбрал недопустимый набор карт";
        case TTermination::RefusedCard:
            return GaveUpMove(Record) ? Loser + " отказался от хода"
                                      : Loser + " сыграл карту, которую правила не позволяют";
        case TTermination::TooSlow:
            return Loser + " думал над ходом дольше 20 секунд";
        case TTermination::Crashed:
            return Loser + ": сбой бота";
        case TTermination::Hung:
            return Loser + ": бот завис и был остановлен";
        case TTermination::TurnLimit:
        case TTermination::None:
            break;
    }
    return "";
}

}  // namespace

std::optional<std::vector<TReplayStep>> ViewerSteps(const TGameRecord &Record, std::string &Error) {
    std::optional<std::vector<TReplayStep>> Steps = ReplaySteps(Record, Error);
    if (!Steps) return Steps;
    const bool FaultEnded =
        Record.Termination == TTermination::Crashed || Record.Termination == TTermination::Hung;
    if (FaultEnded &&
        (HasFlags(Record.Result, FirstPlayerLost) != HasFlags(Record.Result, SecondPlayerLost))) {
        TReplayStep End = Steps->back();
        End.Mover = HasFlags(Record.Result, FirstPlayerLost) ? 0 : 1;
        End.Round = std::max(Record.Rounds, 1);
        End.Card = 0;
        End.Produced = false;
        End.Fault = true;
        Steps->push_back(End);
    }
    return Steps;
}

std::string ReplayTitle(const TGameRecord &Record) {
    return "Игра " + std::to_string(Record.Place.Number) + ": " + SeatShownName(Record, 0) + " — " +
           SeatShownName(Record, 1);
}

std::string GameEndReason(const TGameRecord &Record) {
    const std::string Detail = LossDetail(Record, TLanguage::Russian);
    if (Detail.empty()) return {};
    return SeatShownName(Record, HasFlags(Record.Result, FirstPlayerLost) ? 0 : 1) + ": " + Detail;
}

std::string ReplayOutcomeText(const TGameRecord &Record) {
    const std::string Length = Record.Rounds > 0 ? "Игра длилась " + RoundsText(Record.Rounds) + "."
                                                 : "Игра закончилась до первого раунда.";
    if (Record.Termination == TTermination::TurnLimit)
        return "Ничья: достигнут предел в " + RoundsText(Record.Options & TurnLimitMask) + ". " + Length;
    const bool FirstLost = HasFlags(Record.Result, FirstPlayerLost);
    if (Record.Termination == TTermination::None ||
        (!FirstLost && !HasFlags(Record.Result, SecondPlayerLost)))
        return "Игра не закончена. " + Length;
    const int32_t Loser = FirstLost ? 0 : 1;
    const std::string Detail = LossDetail(Record, TLanguage::Russian);
    return "Победил " + Quoted(SeatShownName(Record, 1 - Loser)) + ": " +
           Reason(Record, Quoted(SeatShownName(Record, Loser))) + (Detail.empty() ? "" : " — " + Detail) +
           ". " + Length;
}

TReplayFrame ReplayFrame(const TGameRecord &Record, const std::vector<TReplayStep> &Steps, std::size_t Step) {
    const TReplayStep &At = Steps[Step];
    TReplayFrame Frame;
    const bool Faulted = Steps.back().Fault;
    const auto Moves = static_cast<int64_t>(Steps.size()) - 1 - (Faulted ? 1 : 0);
    if (At.Fault) {
        Frame.Headline = "Раунд " + std::to_string(At.Round) + " из " + std::to_string(Record.Rounds) +
                         " · игра прервана: " + std::string(TerminationRow(Record.Termination).Russian);
        const std::string Reason = GameEndReason(Record);
        Frame.LastMove = (Reason.empty() ? SeatShownName(Record, At.Mover) + ": " +
                                               std::string(TerminationRow(Record.Termination).Russian)
                                         : Reason) +
                         ".";
    } else if (Step == 0) {
        Frame.Headline = IsStandardStart(Record.Start) ? "Начало игры" : "Начало игры со стартовой позиции";
        Frame.LastMove = "Наборы карт выбраны, ходов ещё не было.";
    } else {
        Frame.Headline = "Раунд " + std::to_string(At.Round) + " из " + std::to_string(Record.Rounds) +
                         " · ход " + std::to_string(Step) + " из " + std::to_string(Moves);
        Frame.LastMove = SeatShownName(Record, At.Mover) + ": " +
                         MoveWords(At, IsRefusedMove(Record, Step, Steps.size()), false) +
                         (At.Produced ? ". Раунд окончен, постройки произвели ресурсы." : ".");
    }
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const TPlayer &Player = At.State[static_cast<std::size_t>(Seat)];
        TReplaySide &Side = Frame.Sides[static_cast<std::size_t>(Seat)];
        Side.Name = SeatShownName(Record, Seat);
        Side.Note = Seat == 0 ? "ходит первым" : "ходит вторым";
        Side.Status = Player;
        Side.Before = Steps[Step > 0 ? Step - 1 : 0].State[static_cast<std::size_t>(Seat)];
        TCardList Payable;
        const int32_t PayableCount = GetPlayableCards(Player, Payable);
        for (const int32_t Card : Player.Cards.Card) {
            if (!IsCardNumber(Card)) continue;
            const bool CanPay =
                std::find(Payable.Card, Payable.Card + PayableCount, Card) != Payable.Card + PayableCount;
            Side.Cards.push_back({Card, CardTitle(Card), CostText(CardCosts[Card]), CanPay,
                                  Step > 0 && !At.Fault && At.Mover == Seat && At.Card == Card});
        }
    }
    if (Step + 1 == Steps.size()) Frame.Outcome = ReplayOutcomeText(Record);
    return Frame;
}

std::vector<std::string> MoveListText(const TGameRecord &Record, const std::vector<TReplayStep> &Steps) {
    std::vector<std::string> Lines{IsStandardStart(Record.Start)
                                       ? "Начало: наборы карт выбраны"
                                       : "Начало со стартовой позиции: наборы карт выбраны"};
    for (std::size_t Step = 1; Step < Steps.size(); ++Step) {
        const TReplayStep &Move = Steps[Step];
        const std::string Words = Move.Fault
                                      ? std::string(TerminationRow(Record.Termination).Russian)
                                      : MoveWords(Move, IsRefusedMove(Record, Step, Steps.size()), true);
        Lines.push_back(std::to_string(Move.Round) + ". " + SeatShownName(Record, Move.Mover) + ": " + Words);
    }
    return Lines;
}

std::size_t StepOfRound(const std::vector<TReplayStep> &Steps, int32_t Round) {
    if (Steps.empty() || Round < 1) return 0;
    const auto First = std::find_if(Steps.begin() + 1, Steps.end(),
                                    [Round](const TReplayStep &Step) { return Step.Round >= Round; });
    return First == Steps.end() ? Steps.size() - 1 : static_cast<std::size_t>(First - Steps.begin());
}

}  // namespace velkaran
