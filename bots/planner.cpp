// Planner: looks a few moves ahead over both players' cards with the rules themselves
// (alpha-beta with iterative deepening and a fixed node budget, so that it stays deterministic
// and quick: a few milliseconds a move, some tens at most). It values buildings by the rounds
// left, so it builds up against a defensive opponent and strikes at once against an aggressive
// one. The opponent may play any card until it has shown its own; what the view hides about the
// opponent is estimated from the last exact view and the card that explains what changed since.
#include "rules/catalogue.h"
#include "rules/effects.h"
#include "rules/player_names.h"
#include "rules/turn_rules.h"

#include <velkaran/bot.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using namespace velkaran;

// Cheap attacks on each resource, attacks that bypass or strip the shield, the big espionage
// hit, two repairs, the three buildings, a converter and the pass.
constexpr std::array<int32_t, CardSetSize> PlannerCards = {1,  2,  3,  15, 18, 23, 27, 28,
                                                           29, 33, 34, 35, 48, 38, 50};

constexpr int64_t NodeBudget = 40000;  // cards tried per move; ends the deepening, not the clock
constexpr int MaxDepth = 16;           // plies
constexpr int32_t WinScore = 1'000'000;
constexpr int32_t NoCard = 0;

using TCardMask = std::array<bool, CardCount + 1>;

// What one seat remembers during a game.
struct TSeatMemory {
    int32_t TurnLimit = 200;
    TCardMask SeenOpponentCards{};
    int32_t SeenCount = 0;
    bool HaveExpected = false;
    TGameState Expected{};  // the state right after our last move, the opponent's part estimated
};

std::array<TSeatMemory, 2> Seats;  // indexed by PlayerIndex: the same library may sit in both seats

bool CanPay(const TPlayerStatus &Player, int32_t Card) {
    const TCardCost &Cost = CardCosts[Card];
    return Cost.Energy <= Player.Energy && Cost.Metal <= Player.Metal && Cost.Elements <= Player.Elements;
}

// Plays Card for Player as PlayCard would, without the set check (the opponent's set is a guess).
void Apply(TGameState &State, int32_t Player, int32_t Card) {
    CardEffects[Card](State, Player);
    LimitLaboratories(State, Opponent(Player));
    LimitLaboratories(State, Player);
}

// The loser after a move, or -1: the first player's base is looked at first.
int32_t Loser(const TGameState &State) {
    if (IsBaseDestroyed(State[0])) return 0;
    if (IsBaseDestroyed(State[1])) return 1;
    return -1;
}

// What a player's position is worth: its base, shield and resources, and its buildings by the
// rounds they still have to produce.
int64_t Worth(const TPlayerStatus &P, int32_t RoundsLeft) {
    const int64_t Buildings = int64_t{P.Batteries} - 3 + P.Mines - 2 + P.Laboratories - 2;
    const int64_t PerBuilding = 20 + 3 * std::clamp(RoundsLeft, 0, 40);
    return 10 * int64_t{P.Base} + 8 * int64_t{P.Shield} + 3 * (int64_t{P.Energy} + P.Metal + P.Elements) +
           PerBuilding * Buildings;
}

struct TSearch {
    int32_t Me = 0;
    int32_t TurnLimit = 200;
    int32_t RoundsLeft = 0;                    // at the root, for the worth of buildings
    const TCardMask *OpponentModel = nullptr;  // the cards the opponent may hold
    int64_t Nodes = 0;
    bool OutOfBudget = false;
};

// The position for Mover: positive when Mover stands better. The opponent's worth counts 1.3
// times our own, so that the planner would rather hurt than hoard; a decided game never gets here.
int32_t Evaluate(const TSearch &Search, const TGameState &State, int32_t Mover) {
    const int64_t Ours = Worth(State[Search.Me], Search.RoundsLeft);
    const int64_t Theirs = Worth(State[Opponent(Search.Me)], Search.RoundsLeft);
    const int64_t Limit = WinScore / 2;
    const auto Value = static_cast<int32_t>(std::clamp(Ours - 13 * Theirs / 10, -Limit, Limit));
    return Mover == Search.Me ? Value : -Value;
}

// The cards Mover may play in State: its own set for us, the model for the opponent.
int32_t Moves(const TSearch &Search, const TGameState &State, int32_t Mover,
              std::array<int32_t, CardCount> &Out) {
    int32_t Count = 0;
    if (Mover == Search.Me) {
        for (int32_t Card : PlannerCards)
            if (CanPay(State[Mover], Card)) Out[Count++] = Card;
    } else {
        for (int32_t Card = 1; Card <= CardCount; ++Card)
            if ((*Search.OpponentModel)[Card] && CanPay(State[Mover], Card)) Out[Count++] = Card;
    }
    return Count;
}

int32_t Negamax(TSearch &Search, const TGameState &State, int32_t Mover, int32_t Round, int Depth, int Ply,
                int32_t Alpha, int32_t Beta);

// The value for Mover of playing Card (NoCard: nothing playable) in State.
int32_t AfterMove(TSearch &Search, const TGameState &State, int32_t Mover, int32_t Card, int32_t Round,
                  int Depth, int Ply, int32_t Alpha, int32_t Beta) {
    TGameState Child = State;
    if (Card != NoCard) Apply(Child, Mover, Card);
    const int32_t Lost = Loser(Child);
    if (Lost >= 0) return Lost == Mover ? -WinScore + Ply : WinScore - Ply;
    int32_t NextRound = Round;
    if (Mover == 1) {
        Produce(Child);
        if (Round >= Search.TurnLimit) return 0;
        NextRound = Round + 1;
    }
    return -Negamax(Search, Child, Opponent(Mover), NextRound, Depth - 1, Ply + 1, -Beta, -Alpha);
}

int32_t Negamax(TSearch &Search, const TGameState &State, int32_t Mover, int32_t Round, int Depth, int Ply,
                int32_t Alpha, int32_t Beta) {
    if (Search.OutOfBudget || Depth == 0) return Evaluate(Search, State, Mover);

    std::array<int32_t, CardCount> Cards;
    const int32_t Count = Moves(Search, State, Mover, Cards);
    if (Count == 0) return AfterMove(Search, State, Mover, NoCard, Round, Depth, Ply, Alpha, Beta);

    // Most promising first: by the position right after the card.
    std::array<int32_t, CardCount> Order;
    Search.Nodes += Count;
    if (Search.Nodes > NodeBudget) Search.OutOfBudget = true;
    for (int32_t I = 0; I < Count; ++I) {
        TGameState Child = State;
        Apply(Child, Mover, Cards[I]);
        Order[I] = Evaluate(Search, Child, Mover);
    }
    std::array<int32_t, CardCount> Index;
    for (int32_t I = 0; I < Count; ++I) Index[I] = I;
    std::stable_sort(Index.begin(), Index.begin() + Count,
                     [&](int32_t A, int32_t B) { return Order[A] > Order[B]; });

    int32_t Best = -WinScore - 1;
    for (int32_t I = 0; I < Count; ++I) {
        const int32_t Score =
            AfterMove(Search, State, Mover, Cards[Index[I]], Round, Depth, Ply, Alpha, Beta);
        if (Search.OutOfBudget) return Best > -WinScore ? Best : Score;
        Best = std::max(Best, Score);
        Alpha = std::max(Alpha, Score);
        if (Alpha >= Beta) break;
    }
    return Best;
}

// The best of the playable cards for Me in State, deepening until the node budget is spent.
int32_t ChooseCard(const TGameState &State, int32_t Me, int32_t Round, int32_t TurnLimit,
                   const TCardMask &OpponentModel, const TCardList &Playable) {
    std::array<int32_t, CardSetSize> Cards{};
    int32_t Count = 0;
    for (int32_t I = 0; I < CardSetSize && Playable[I] != 0; ++I) Cards[Count++] = Playable[I];
    int32_t Choice = Cards[0];
    for (int Depth = 1; Depth <= MaxDepth; ++Depth) {
        TSearch Search{Me, TurnLimit, TurnLimit - Round, &OpponentModel};
        int32_t Alpha = -WinScore - 1;
        int32_t BestCard = Cards[0];
        for (int32_t I = 0; I < Count; ++I) {
            const int32_t Score =
                AfterMove(Search, State, Me, Cards[I], Round, Depth, 1, Alpha, WinScore + 1);
            if (Search.OutOfBudget) break;
            if (Score > Alpha) {
                Alpha = Score;
                BestCard = Cards[I];
            }
        }
        if (Search.OutOfBudget) break;
        Choice = BestCard;
        // Search the best card first in the next, deeper pass.
        std::stable_partition(Cards.begin(), Cards.begin() + Count,
                              [&](int32_t Card) { return Card == Choice; });
        if (Alpha >= WinScore - MaxDepth || Alpha <= -WinScore + MaxDepth) break;  // the outcome is settled
    }
    return Choice;
}

bool IsHidden(const TPlayerStatus &Status) { return Status.Energy < 0; }

void CopyStatus(TPlayerStatus &To, const TPlayerStatus &From) { To = From; }

// The opponent's status now, when the view hides it: the expected state carried over the
// opponent's move (the first card that explains what we see of ourselves and of its shield,
// stored in Explained, or NoCard) and the production between.
TPlayerStatus EstimateOpponent(const TSeatMemory &Memory, int32_t Me, const TGameView &View,
                               int32_t &Explained) {
    Explained = NoCard;
    const int32_t Other = Opponent(Me);
    auto Matches = [&](const TGameState &Candidate) {
        return Candidate[Me] == View[Me] && Candidate[Other].Shield == View[Other].Shield;
    };
    auto Carry = [&](int32_t Card) {
        TGameState State = Memory.Expected;
        if (Me == 1) Produce(State);  // we were second: the round ended before the opponent moved
        if (Card != NoCard) Apply(State, Other, Card);
        if (Me == 0) Produce(State);  // we were first: the round ended after the opponent's move
        return State;
    };
    for (int Pass = 0; Pass < 2; ++Pass) {
        for (int32_t Card = 1; Card <= CardCount; ++Card) {
            if (Memory.SeenOpponentCards[Card] != (Pass == 0)) continue;
            TGameState Before = Memory.Expected;
            if (Me == 1) Produce(Before);
            if (!CanPay(Before[Other], Card)) continue;
            const TGameState After = Carry(Card);
            if (Matches(After)) {
                Explained = Card;
                return After[Other];
            }
        }
    }
    TPlayerStatus Guess = Carry(NoCard)[Other];
    Guess.Shield = View[Other].Shield;
    return Guess;
}

void See(TSeatMemory &Memory, int32_t Card) {
    if (Memory.SeenOpponentCards[Card]) return;
    Memory.SeenOpponentCards[Card] = true;
    ++Memory.SeenCount;
}

// The cards the opponent may play in the search: every card until it has shown a few of its own
// over a dozen rounds (or all 15), then those it has shown.
TCardMask OpponentModel(const TSeatMemory &Memory, int32_t Round) {
    constexpr int32_t RoundsToWatch = 12;
    constexpr int32_t CardsToTrust = 3;
    const bool Known =
        Memory.SeenCount >= CardSetSize || (Round > RoundsToWatch && Memory.SeenCount >= CardsToTrust);
    TCardMask Model{};
    for (int32_t Card = 1; Card <= CardCount; ++Card)
        Model[Card] = Known ? Memory.SeenOpponentCards[Card] : true;
    return Model;
}

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) { return "Planner"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    if (PlayerIndex != 0 && PlayerIndex != 1) return;
    if (CardSet == nullptr) return;
    TSeatMemory &Memory = Seats[PlayerIndex];
    Memory = TSeatMemory{};
    Memory.TurnLimit = Info->Options & TurnLimitMask;
    for (int32_t I = 0; I < CardSetSize; ++I) CardSet->Card[I] = PlannerCards[I];
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    if (PlayerIndex != 0 && PlayerIndex != 1) return 50;
    TSeatMemory &Memory = Seats[PlayerIndex];
    const int32_t Me = PlayerIndex;
    const int32_t Other = Opponent(Me);
    if (Info->LastMove >= 1 && Info->LastMove <= CardCount) See(Memory, Info->LastMove);

    TGameState State{};
    NewGameState(State);
    CopyStatus(State[Me], (*View)[Me]);
    if (!IsHidden((*View)[Other])) {
        CopyStatus(State[Other], (*View)[Other]);
    } else if (Memory.HaveExpected) {
        int32_t Explained = NoCard;
        CopyStatus(State[Other], EstimateOpponent(Memory, Me, *View, Explained));
        if (Explained != NoCard) See(Memory, Explained);
    } else {
        State[Other].Shield = (*View)[Other].Shield;
    }

    int32_t Card = 50;
    if (Playable != nullptr && (*Playable)[0] != 0) {
        const TCardMask Model = OpponentModel(Memory, Info->Turn);
        Card = ChooseCard(State, Me, Info->Turn, Memory.TurnLimit, Model, *Playable);
    }

    Memory.Expected = State;
    if (Playable != nullptr && CanPay(State[Me], Card)) Apply(Memory.Expected, Me, Card);
    Memory.HaveExpected = true;
    return Card;
}

}  // extern "C"
