// Replaying a record: the sets, then every move through the rules, production at each round's end.
#include "record_replay.h"

#include "refusal.h"

#include "rules/catalogue.h"
#include "rules/game_limits.h"
#include "rules/turn_rules.h"

namespace velkaran {
namespace {

bool IsEmpty(const TCardList &Set) { return Set == TCardList{}; }

std::string SeatText(int32_t Seat) { return Seat == 0 ? "the first player" : "the second player"; }
// The same in the replay viewer's words.
std::string RussianSeatText(int32_t Seat) { return Seat == 0 ? "первый игрок" : "второй игрок"; }

}  // namespace

std::optional<std::vector<TReplayStep>> ReplaySteps(const TGameRecord &Record, std::string &Error) {
    TReplayStep Step;
    if (const std::string Problem = StartPositionProblem(Record.Start); !Problem.empty()) {
        Error = "стартовая позиция записи не может начать игру";
        return std::nullopt;
    }
    NewGameState(Step.State, Record.Start);
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const TCardList &Set = Record.Seats[static_cast<std::size_t>(Seat)].Set;
        if (!IsEmpty(Set) && !IsValidCardSet(Set)) {
            Error = "набор карт, записанный за " + std::string(Seat == 0 ? "первого" : "второго") +
                    " игрока, недопустим";
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
        const std::string Where = "ход " + std::to_string(I + 1) + " (раунд " + std::to_string(Step.Round) +
                                  ", " + RussianSeatText(Step.Mover) + ")";
        TPlayer &Mover = Step.State[static_cast<std::size_t>(Step.Mover)];
        if (Step.Round > Record.Rounds || IsEmpty(Mover.Cards)) {
            Error = Where + " не относится к игре";
            return std::nullopt;
        }
        TCardList Playable;
        if (GetPlayableCards(Mover, Playable) == 0) {
            if (Step.Card != 0) {
                Error = Where + ": платить было нечем, но записана карта " + std::to_string(Step.Card);
                return std::nullopt;
            }
        } else if (!PlayCard(Step.State, Step.Mover, Step.Card)) {
            if (I + 1 != Count || Record.Termination != TTermination::RefusedCard) {
                Error = Where + ": правила не позволяют сыграть карту " + std::to_string(Step.Card);
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

namespace {

// How the replay says the game ended: the way, the seat that lost (a draw: unused), the deciding
// call and the rounds begun.
struct TReplayedEnd {
    TTermination Kind = TTermination::None;
    int32_t Loser = 0;
    TSeatCall Call = TSeatCall::GetTurn;
    int32_t Rounds = 0;
};

std::string KindText(TTermination Kind) { return "\"" + std::string(TerminationRow(Kind).English) + "\""; }

// The fault that decided Record (the first one not in a closing call), or null; Error when the
// faults cannot all have happened.
const TGameFault *DecidingFault(const TGameRecord &Record, std::string &Error) {
    const TGameFault *Deciding = nullptr;
    bool Closed[2] = {false, false};
    for (const TGameFault &Fault : Record.Faults) {
        const std::string Of = SeatText(Fault.Seat);
        if (Fault.Fault == TCallFault::None) {
            Error = "a fault of " + Of + " is no fault";
            return nullptr;
        }
        if (Fault.Call == TSeatCall::ClosingStartGame) {
            if (Closed[Fault.Seat] || (Deciding != nullptr && Deciding->Seat == Fault.Seat)) {
                Error = "a fault of " + Of + " in a call it never received";
                return nullptr;
            }
            Closed[Fault.Seat] = true;
            if (Fault.Round != Record.Rounds) {
                Error = "the fault of " + Of + " in its closing call is not in the last round";
                return nullptr;
            }
            continue;
        }
        if (Deciding != nullptr) {
            Error = "two faults are said to have ended the game";
            return nullptr;
        }
        Deciding = &Fault;
    }
    return Deciding;
}

// The rounds after which a game of Options is a draw: a 0 counts as 65536.
int32_t TurnLimitOf(int32_t Options) {
    const int32_t Limit = Options & TurnLimitMask;
    return Limit == 0 ? TurnLimitMask + 1 : Limit;
}

// Replays the sets and the moves of Record into State and says how the game ended; nothing, with
// Error, when a set or a move does not fit.
std::optional<TReplayedEnd> ReplayToEnd(const TGameRecord &Record, const TGameFault *Deciding,
                                        double MoveLimitMs, TGameState &State, std::string &Error) {
    if (const std::string Problem = StartPositionProblem(Record.Start); !Problem.empty()) {
        Error = "the start position cannot begin a game: " + Problem;
        return std::nullopt;
    }
    NewGameState(State, Record.Start);
    const auto FaultOf = [Deciding](int32_t Seat, TSeatCall Call) {
        return Deciding != nullptr && Deciding->Seat == Seat && Deciding->Call == Call;
    };
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const TCardList &Set = Record.Seats[static_cast<std::size_t>(Seat)].Set;
        if (IsEmpty(Set)) {
            // The game ended while this seat chose its set.
            if (!Record.Moves.empty()) {
                Error = "moves without the sets of both players";
                return std::nullopt;
            }
            if (Seat == 0 && !IsEmpty(Record.Seats[1].Set)) {
                Error = "the second player chose a set after the first player's set ended the game";
                return std::nullopt;
            }
            if (FaultOf(Seat, TSeatCall::OpeningStartGame))
                return TReplayedEnd{TerminationOfFault(Deciding->Fault), Seat, TSeatCall::OpeningStartGame,
                                    0};
            if (SetRefusal(Record.RefusedSet, TLanguage::English).empty()) {
                Error = "the set said to be refused is a valid set";
                return std::nullopt;
            }
            return TReplayedEnd{TTermination::InvalidSet, Seat, TSeatCall::OpeningStartGame, 0};
        }
        if (!IsValidCardSet(Set)) {
            Error = "the set of " + SeatText(Seat) + " is not a valid set";
            return std::nullopt;
        }
        State[static_cast<std::size_t>(Seat)].Cards = Set;
    }
    const int32_t Limit = TurnLimitOf(Record.Options);
    const bool SlowLoses = HasFlags(Record.Options, BotsOnly);
    const std::size_t Count = Record.Moves.size();
    TCardList Playable;
    for (std::size_t I = 0; I < Count; ++I) {
        const auto Mover = static_cast<int32_t>(I % 2);
        const auto Round = static_cast<int32_t>(I / 2 + 1);
        const int32_t Card = Record.Moves[I];
        const bool Last = I + 1 == Count;
        // Said only when something does not fit: the replay of a good record builds no text.
        const auto Where = [I, Round, Mover] {
            return "move " + std::to_string(I + 1) + " (round " + std::to_string(Round) + ", " +
                   SeatText(Mover) + ")";
        };
        if (Round > Limit) {
            Error = Where() + " comes after the turn limit";
            return std::nullopt;
        }
        if (GetPlayableCards(State[static_cast<std::size_t>(Mover)], Playable) == 0) {
            if (Card != 0) {
                Error = Where() + ": nothing was playable, yet it played " + std::to_string(Card);
                return std::nullopt;
            }
        } else if (!PlayCard(State, Mover, Card)) {
            if (!Last) {
                Error = Where() + ": card " + std::to_string(Card) +
                        " is refused by the rules, yet the game went on";
                return std::nullopt;
            }
            return TReplayedEnd{TTermination::RefusedCard, Mover, TSeatCall::GetTurn, Round};
        }
        // After a move: a slow move between bots loses before the bases are looked at. Only the
        // record knows how long a move took: its claim is taken for its last move.
        const bool Slow = Last && Record.Termination == TTermination::TooSlow && SlowLoses &&
                          Record.Seats[static_cast<std::size_t>(Mover)].LongestMoveMs > MoveLimitMs;
        if (Slow) return TReplayedEnd{TTermination::TooSlow, Mover, TSeatCall::GetTurn, Round};
        const bool Fell = IsBaseDestroyed(State[0]) || IsBaseDestroyed(State[1]);
        if (Fell && !Last) {
            Error = Where() + " destroyed a base, yet the game went on";
            return std::nullopt;
        }
        if (Fell)
            return TReplayedEnd{TTermination::BaseDestroyed, IsBaseDestroyed(State[0]) ? 0 : 1,
                                TSeatCall::GetTurn, Round};
        if (Mover == 1) {
            Produce(State);
            if (Round == Limit) {
                if (!Last) {
                    Error = "moves after the turn limit of " + std::to_string(Limit) + " rounds";
                    return std::nullopt;
                }
                return TReplayedEnd{TTermination::TurnLimit, 0, TSeatCall::GetTurn, Round};
            }
        }
    }
    // The moves ran out before the game ended: the next mover's call must have faulted.
    const auto Next = static_cast<int32_t>(Count % 2);
    const auto Round = static_cast<int32_t>(Count / 2 + 1);
    if (FaultOf(Next, TSeatCall::GetTurn) && Deciding->Round == Round)
        return TReplayedEnd{TerminationOfFault(Deciding->Fault), Next, TSeatCall::GetTurn, Round};
    Error = "the moves end in round " + std::to_string(Round) + " before the game ended, with no fault of " +
            SeatText(Next) + " there";
    return std::nullopt;
}

}  // namespace

std::string CheckReplay(const TGameRecord &Record, double MoveLimitMs) {
    std::string Error;
    const TGameFault *Deciding = DecidingFault(Record, Error);
    if (!Error.empty()) return Error;
    TGameState End;
    const std::optional<TReplayedEnd> Ended = ReplayToEnd(Record, Deciding, MoveLimitMs, End, Error);
    if (!Ended) return Error;
    if (Record.Termination != Ended->Kind)
        return "the record says the game ended by " + KindText(Record.Termination) + ", the replay by " +
               KindText(Ended->Kind);
    const bool ByFault = Ended->Kind == TTermination::Crashed || Ended->Kind == TTermination::Hung;
    if (Deciding != nullptr && !ByFault)
        return "a fault of " + SeatText(Deciding->Seat) + " did not end the game";
    if (Record.Rounds != Ended->Rounds)
        return "the record says " + std::to_string(Record.Rounds) + " rounds, the replay " +
               std::to_string(Ended->Rounds);
    const int32_t Code = ResultCode(Ended->Kind, Ended->Loser, Ended->Call);
    if (Record.Result != Code)
        return "the record says result " + std::to_string(Record.Result) + ", the replay gives " +
               std::to_string(Code);
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
    return "";
}

}  // namespace velkaran
