// Replaying a record: the sets, then every move through the rules, production at each round's end.
#include "record_replay.h"

#include "rules/catalogue.h"
#include "rules/turn_rules.h"

namespace velkaran {
namespace {

bool IsEmpty(const TCardList &Set) { return Set == TCardList{}; }

std::string SeatText(int32_t Seat) { return Seat == 0 ? "the first player" : "the second player"; }

}  // namespace

std::optional<std::vector<TReplayStep>> ReplaySteps(const TGameRecord &Record, std::string &Error) {
    TReplayStep Step;
    if (const std::string Problem = StartPositionProblem(Record.Start); !Problem.empty()) {
        Error = "the start position cannot begin a game: " + Problem;
        return std::nullopt;
    }
    NewGameState(Step.State, Record.Start);
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const TCardList &Set = Record.Seats[static_cast<std::size_t>(Seat)].Set;
        if (!IsEmpty(Set) && !IsValidCardSet(Set)) {
            Error = "the set of " + SeatText(Seat) + " is not a valid set";
            return std::nullopt;
        }
        Step.State[static_cast<std::size_t>(Seat)].Cards = Set;
    }
    std::vector<TReplayStep> Steps{Step};
    const std::size_t Count = Record.Moves.size();
    for (std::size_t I = 0; I < Count; ++I) {
        Step.Mover = static_cast<int32_t>(I % 2);
        Step.Round = static_cast<int32_t>(I / 2 + 1);
        Step.Card = Record.Moves[I];
        const std::string Where = "move " + std::to_string(I + 1) + " (round " + std::to_string(Step.Round) +
                                  ", " + SeatText(Step.Mover) + ")";
        TPlayer &Mover = Step.State[static_cast<std::size_t>(Step.Mover)];
        if (Step.Round > Record.Rounds || IsEmpty(Mover.Cards)) {
            Error = Where + " does not belong to the game";
            return std::nullopt;
        }
        TCardList Playable;
        if (GetPlayableCards(Mover, Playable) == 0) {
            if (Step.Card != 0) {
                Error = Where + ": nothing was playable, yet it played " + std::to_string(Step.Card);
                return std::nullopt;
            }
        } else if (!PlayCard(Step.State, Step.Mover, Step.Card)) {
            if (I + 1 != Count || Record.Termination != TTermination::RefusedCard) {
                Error = Where + ": card " + std::to_string(Step.Card) + " is refused by the rules";
                return std::nullopt;
            }
        }
        // A round that was followed by another, or that reached the turn limit, ended in production.
        Step.Produced =
            Step.Mover == 1 && (Step.Round < Record.Rounds || Record.Termination == TTermination::TurnLimit);
        if (Step.Produced) Produce(Step.State);
        Steps.push_back(Step);
    }
    return Steps;
}

std::string CheckReplay(const TGameRecord &Record) {
    std::string Error;
    const auto Steps = ReplaySteps(Record, Error);
    if (!Steps) return Error;
    const TGameState &End = Steps->back().State;
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const auto Index = static_cast<std::size_t>(Seat);
        if (!(static_cast<const TPlayerStatus &>(End[Index]) == Record.Final[Index]))
            return "the replay does not end in the recorded status of " + SeatText(Seat);
        const TSeatRecord &Seats = Record.Seats[Index];
        const TPlayerStatistics &Counted = End[Index].Statistics;
        if (Counted.TotalEnergy != Seats.ProducedEnergy || Counted.TotalMetal != Seats.ProducedMetal ||
            Counted.TotalElements != Seats.ProducedElements)
            return "the replay does not produce what the record says " + SeatText(Seat) + " produced";
    }
    const auto Moves = static_cast<int64_t>(Record.Moves.size());
    const int64_t Rounds = Record.Rounds;
    if (Rounds > 0 && (Moves < 2 * (Rounds - 1) || Moves > 2 * Rounds))
        return std::to_string(Moves) + " moves do not fit " + std::to_string(Rounds) + " rounds";
    if (Rounds == 0 && Moves != 0) return "moves without a round";
    if (Record.Termination == TTermination::BaseDestroyed && !IsBaseDestroyed(End[0]) &&
        !IsBaseDestroyed(End[1]))
        return "the game is said to end on a destroyed base, but no base fell";
    return "";
}

}  // namespace velkaran
