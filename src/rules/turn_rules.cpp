// Set-up, card sets, playing a card, the laboratory limit, production and the players' views.
#include "turn_rules.h"

#include "catalogue.h"
#include "effects.h"
#include "player_names.h"
#include "wrapping.h"

#include <cassert>

namespace velkaran {
namespace {

constexpr int32_t HiddenAboveShield = 20;  // a shield above this hides the rest of a player's status
constexpr int32_t BaseLaboratoryLimit = 5;
constexpr int32_t LimitGrowsAboveBase = 50;
constexpr int32_t BasePerExtraLaboratory = 5;

constexpr bool IsPlayerIndex(int32_t Player) { return Player == 0 || Player == 1; }

bool CanPay(const TPlayerStatus &Player, const TCardCost &Cost) {
    return Cost.Energy <= Player.Energy && Cost.Metal <= Player.Metal && Cost.Elements <= Player.Elements;
}

bool HoldsCard(const TCardList &Cards, int32_t Card) {
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot)
        if (Cards[Slot] == Card) return true;
    return false;
}

}  // namespace

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
    return HoldsCard(Mover.Cards, Card) && CanPay(Mover, CardCosts[Card]);
}

int32_t GetPlayableCards(const TPlayer &Player, TCardList &List) {
    List = TCardList{};
    int32_t Count = 0;
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot) {
        const int32_t Card = Player.Cards[Slot];
        if (IsCardNumber(Card) && CanPay(Player, CardCosts[Card])) List[Count++] = Card;
    }
    return Count;
}

bool PlayCard(TGameState &State, int32_t Player, int32_t Card) {
    if (!CanPlayCard(State, Player, Card)) return false;
    int32_t &Uses = State[Player].Statistics.CardUses[Card];
    Uses = WrapAdd(Uses, 1);
    CardEffects[Card](State, Player);
    LimitLaboratories(State, Opponent(Player));
    LimitLaboratories(State, Player);
    return true;
}

void LimitLaboratories(TGameState &State, int32_t Player) {
    assert(IsPlayerIndex(Player) && "player index out of range");
    TPlayer &Target = State[Player];
    int32_t Limit = BaseLaboratoryLimit;
    if (Target.Base > LimitGrowsAboveBase)
        Limit += (Target.Base - LimitGrowsAboveBase) / BasePerExtraLaboratory;
    if (Target.Laboratories > Limit) Target.Laboratories = Limit;
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

bool IsBaseDestroyed(const TPlayer &Player) { return Player.Base < 1; }

void MakeView(const TGameState &State, int32_t Options, int32_t Player, TGameView &View) {
    assert(IsPlayerIndex(Player) && "player index out of range");
    View[0] = State[0];
    View[1] = State[1];
    const int32_t Other = Opponent(Player);
    const int32_t Shield = State[Other].Shield;
    if (HasFlags(Options, HiddenInformation) && Shield > HiddenAboveShield)
        View[Other] = TPlayerStatus{0, Shield, 0, 0, 0, -1, -1, -1};
}

}  // namespace velkaran
