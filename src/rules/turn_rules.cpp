// Set-up, card sets, playing a card, the laboratory limit, production and the players' views.
#include "turn_rules.h"

#include "affordability.h"
#include "catalogue.h"
#include "effects.h"
#include "game_limits.h"
#include "player_names.h"
#include "wrapping.h"

#include <cassert>
#include <cstring>

namespace velkaran {
namespace {

constexpr int32_t BaseLaboratoryLimit = 5;
constexpr int32_t LimitGrowsAboveBase = 50;
constexpr int32_t BasePerExtraLaboratory = 5;

constexpr bool IsPlayerIndex(int32_t Player) { return Player == 0 || Player == 1; }

// Four card numbers at once (a GCC/Clang vector type: SSE2 on x86-64, plain code elsewhere).
using TFourCards = int32_t __attribute__((vector_size(16)));

TFourCards FourCardsAt(const int32_t *First) {
    TFourCards Cards;
    std::memcpy(&Cards, First, sizeof Cards);
    return Cards;
}

// Compares the 15 slots four at a time: slots 0-3, 4-7, 8-11 and 11-14 (slot 11 twice, nothing past 14).
bool HoldsCard(const TCardList &Cards, int32_t Card) {
    static_assert(CardSetSize == 15, "the four groups cover exactly 15 slots");
    const TFourCards Wanted = TFourCards{} + Card;
    const TFourCards Hits =
        (FourCardsAt(&Cards.Card[0]) == Wanted) | (FourCardsAt(&Cards.Card[4]) == Wanted) |
        (FourCardsAt(&Cards.Card[8]) == Wanted) | (FourCardsAt(&Cards.Card[11]) == Wanted);
    return (Hits[0] | Hits[1] | Hits[2] | Hits[3]) != 0;
}

// Cuts Target's laboratories down to the limit its base allows.
void ApplyLaboratoryLimit(TPlayer &Target) {
    const int32_t Limit = LaboratoryLimit(Target.Base);
    if (Target.Laboratories > Limit) Target.Laboratories = Limit;
}

}  // namespace

int32_t LaboratoryLimit(int32_t Base) {
    int32_t Limit = BaseLaboratoryLimit;
    if (Base > LimitGrowsAboveBase) Limit += (Base - LimitGrowsAboveBase) / BasePerExtraLaboratory;
    return Limit;
}

void NewGameState(TGameState &State) {
    State = TGameState{};
    for (TPlayer &Player : State) {
        Player.Base = 40;
        Player.Shield = 15;
        Player.Batteries = 3;
        Player.Mines = 2;
        Player.Laboratories = 2;
        Player.Energy = 15;
        Player.Metal = 15;
        Player.Elements = 15;
    }
}

void NewGameState(TGameState &State, const TStartPosition &Start) {
    State = TGameState{};
    static_cast<TPlayerStatus &>(State[0]) = Start.Sides[0];
    static_cast<TPlayerStatus &>(State[1]) = Start.Sides[1];
}

bool IsValidCardSet(const TCardList &List) {
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot)
        if (!IsCardNumber(List[Slot]) || CardDescriptions[List[Slot]].empty()) return false;
    for (int32_t First = 0; First < CardSetSize - 1; ++First)
        for (int32_t Second = First + 1; Second < CardSetSize; ++Second)
            if (List[First] == List[Second]) return false;
    return true;
}

bool CanPlayCard(const TGameState &State, int32_t Player, int32_t Card) {
    assert(IsPlayerIndex(Player) && "player index out of range");
    if (!IsCardNumber(Card)) return false;
    const TPlayer &Mover = State[Player];
    return CanPay(Mover, CardCosts[Card]) && HoldsCard(Mover.Cards, Card);
}

int32_t GetPlayableCards(const TPlayer &Player, TCardList &List) {
    List = TCardList{};
    if (HasNegativeResource(Player)) return 0;
    const uint32_t Resources = PackedResources(Player);
    int32_t Count = 0;
    // Every card is written at List[Count] and kept only when playable, which avoids an unpredictable
    // branch per slot; a card written but not kept is cleared at the end.
#pragma GCC unroll 15
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot) {
        const int32_t Card = Player.Cards[Slot];
        if (!IsCardNumber(Card)) continue;  // a set holds 15 cards or none, so this branch is predictable
        List[Count] = Card;
        Count += Covers(Resources, PackedCardCosts[Card]);
    }
    if (Count < CardSetSize) List[Count] = 0;
    return Count;
}

bool PlayCard(TGameState &State, int32_t Player, int32_t Card) {
    if (!CanPlayCard(State, Player, Card)) return false;
    int32_t &Uses = State[Player].Statistics.CardUses[Card];
    Uses = WrapAdd(Uses, 1);
    CardEffects[Card](State, Player);
    ApplyLaboratoryLimit(State[Opponent(Player)]);
    ApplyLaboratoryLimit(State[Player]);
    return true;
}

void LimitLaboratories(TGameState &State, int32_t Player) {
    assert(IsPlayerIndex(Player) && "player index out of range");
    ApplyLaboratoryLimit(State[Player]);
}

void Produce(TGameState &State) {
    for (TPlayer &Player : State) {
        Player.Energy = WrapAdd(Player.Energy, Player.Batteries);
        Player.Metal = WrapAdd(Player.Metal, Player.Mines);
        Player.Elements = WrapAdd(Player.Elements, Player.Laboratories);
        TPlayerStatistics &Totals = Player.Statistics;
        Totals.TotalEnergy = WrapAdd(Totals.TotalEnergy, Player.Batteries);
        Totals.TotalMetal = WrapAdd(Totals.TotalMetal, Player.Mines);
        Totals.TotalElements = WrapAdd(Totals.TotalElements, Player.Laboratories);
    }
}

void MakeView(const TGameState &State, int32_t Options, int32_t Player, TGameView &View) {
    assert(IsPlayerIndex(Player) && "player index out of range");
    View[0] = State[0];
    View[1] = State[1];
    const int32_t Other = Opponent(Player);
    const int32_t Shield = State[Other].Shield;
    if (HasFlags(Options, HiddenInformation) && Shield > HiddenShieldLimit)
        View[Other] = TPlayerStatus{0, Shield, 0, 0, 0, -1, -1, -1};
}

}  // namespace velkaran
