// The effect table: every card pays its own cost, then does what its row below says.
#include "catalogue.h"
#include "effects.h"
#include "player_names.h"
#include "wrapping.h"

#include <cassert>
#include <utility>

namespace velkaran {
namespace {

// The acting player and the opponent, as one card sees them.
struct TActors {
    TGameState &State;
    int32_t Player;
    TPlayer &Me;
    TPlayer &Foe;
};

void Add(int32_t &Field, int32_t N) { Field = WrapAdd(Field, N); }
void Subtract(int32_t &Field, int32_t N) { Field = WrapSub(Field, N); }

// Lowers Shield by N; what exceeds it is lost rather than passed on to the base.
void LowerShield(TPlayer &Target, int32_t N) {
    Target.Shield = Target.Shield >= N ? WrapSub(Target.Shield, N) : 0;
}

struct TCardAction {
    int32_t Card;
    void (*Apply)(const TActors &A);
};

// What each card does once its cost has been paid.
constexpr TCardAction CardActions[] = {
    {1, [](const TActors &A) { Attack(A.Foe, 5); }},
    {2, [](const TActors &A) { Attack(A.Foe, 5); }},
    {3, [](const TActors &A) { Attack(A.Foe, 5); }},
    {4, [](const TActors &A) { Attack(A.Foe, 7); }},
    {5, [](const TActors &A) { Attack(A.Foe, 8); }},
    {6, [](const TActors &A) { Attack(A.Foe, 8); }},
    {7, [](const TActors &A) { Attack(A.Foe, 10); }},
    {8, [](const TActors &A) { Attack(A.Foe, 10); }},
    {9, [](const TActors &A) { Attack(A.Foe, 10); }},
    {10, [](const TActors &A) { Attack(A.Foe, 14); }},
    {11, [](const TActors &A) { Attack(A.Foe, 15); }},
    {12,
     [](const TActors &A) {
         Attack(A.Foe, 25);
         Attack(A.Me, 10);
     }},
    {13, [](const TActors &A) { Attack(A.Foe, 17); }},
    {14, [](const TActors &A) { Attack(A.Foe, 18); }},
    {15, [](const TActors &A) { Add(A.Me.Shield, 7); }},
    {16, [](const TActors &A) { Add(A.Me.Shield, 11); }},
    {17, [](const TActors &A) { Add(A.Me.Shield, 16); }},
    {18, [](const TActors &A) { Add(A.Me.Base, 9); }},
    {19,  // at most 6 shield points become 2 base points each
     [](const TActors &A) {
         if (A.Me.Shield >= 6) {
             Subtract(A.Me.Shield, 6);
             Add(A.Me.Base, 12);
         } else {
             Add(A.Me.Base, WrapMul(2, A.Me.Shield));
             A.Me.Shield = 0;
         }
     }},
    {20, [](const TActors &A) { Add(A.Me.Base, 12); }},
    {21, [](const TActors &A) { Add(A.Me.Base, 14); }},
    {22,
     [](const TActors &A) {
         Add(A.Me.Base, 14);
         Add(A.Me.Shield, 15);
     }},
    {23, [](const TActors &A) { Subtract(A.Foe.Base, 3); }},
    {24, [](const TActors &A) { Subtract(A.Foe.Base, 7); }},
    {25, [](const TActors &A) { Subtract(A.Foe.Base, 7); }},
    {26,  // up to 7 of the own shield points give an attack of 1 + 2 per point
     [](const TActors &A) {
         int32_t Strength = 15;
         if (A.Me.Shield >= 7) {
             Subtract(A.Me.Shield, 7);
         } else {
             Strength = WrapAdd(WrapMul(2, A.Me.Shield), 1);
             A.Me.Shield = 0;
         }
         Attack(A.Foe, Strength);
     }},
    {27,
     [](const TActors &A) {
         if (A.Foe.Shield == 0) Subtract(A.Foe.Base, 11);
     }},
    {28,
     [](const TActors &A) {
         LowerShield(A.Foe, 10);
         Subtract(A.Foe.Base, 10);
     }},
    {29,
     [](const TActors &A) {
         LowerShield(A.Foe, 15);
         Subtract(A.Foe.Base, 20);
     }},
    {30,
     [](const TActors &A) {
         Attack(A.Foe, 49);
         Attack(A.Me, 20);
     }},
    {31, [](const TActors &A) { Attack(A.Foe, 49); }},
    {32,
     [](const TActors &A) {
         Attack(A.Foe, 25);
         Subtract(A.Foe.Base, 5);
     }},
    {33, [](const TActors &A) { Add(A.Me.Batteries, 1); }},
    {34, [](const TActors &A) { Add(A.Me.Mines, 1); }},
    {35, [](const TActors &A) { Add(A.Me.Laboratories, 1); }},
    {36,
     [](const TActors &A) {
         Add(A.Me.Batteries, 1);
         Add(A.Me.Mines, 1);
     }},
    {37,
     [](const TActors &A) {
         Add(A.Me.Laboratories, 1);
         Add(A.Me.Base, 7);
     }},
    {38, [](const TActors &A) { Convert(A.Me, TResource::Metal, TResource::Elements, 18, 2); }},
    {39, [](const TActors &A) { Convert(A.Me, TResource::Elements, TResource::Metal, 15, 1); }},
    {40, [](const TActors &A) { Convert(A.Me, TResource::Metal, TResource::Elements, 18, 1); }},
    {41, [](const TActors &A) { Steal(A.State, A.Player, TResource::Metal, 5); }},
    {42, [](const TActors &A) { Steal(A.State, A.Player, TResource::Elements, 5); }},
    {43,
     [](const TActors &A) {
         if (A.Foe.Shield >= 7) {
             Subtract(A.Foe.Shield, 7);
         } else {
             A.Foe.Shield = 0;
             Steal(A.State, A.Player, TResource::Energy, 5);
         }
     }},
    {44,
     [](const TActors &A) {
         if (A.Foe.Mines > 2) Subtract(A.Foe.Mines, 1);
     }},
    {45,
     [](const TActors &A) {
         if (A.Foe.Batteries > 3) Subtract(A.Foe.Batteries, 1);
     }},
    {46,  // an attack of 15 whose destroyed shield points become the player's energy
     [](const TActors &A) {
         if (A.Foe.Shield >= 15) {
             Subtract(A.Foe.Shield, 15);
             Add(A.Me.Energy, 15);
         } else {
             Subtract(A.Foe.Base, WrapSub(15, A.Foe.Shield));
             Add(A.Me.Energy, A.Foe.Shield);
             A.Foe.Shield = 0;
         }
     }},
    {47,
     [](const TActors &A) {
         if (A.Foe.Shield >= 15) {
             Subtract(A.Foe.Shield, 15);
             Destroy(A.State, A.Player, TResource::Metal, 20);
         } else {
             A.Foe.Shield = 0;
             Steal(A.State, A.Player, TResource::Metal, 20);
         }
     }},
    {48,
     [](const TActors &A) {
         Subtract(A.Foe.Base, 15);
         if (A.Foe.Shield >= 15) {
             Destroy(A.State, A.Player, TResource::Energy, 22);
         } else {
             Steal(A.State, A.Player, TResource::Energy, 22);
         }
     }},
    {49,
     [](const TActors &A) {
         if (A.Foe.Shield >= 10) {
             Subtract(A.Foe.Base, 10);
         } else {
             Steal(A.State, A.Player, TResource::Elements, 20);
         }
     }},
    {50,
     [](const TActors &A) {
         Add(A.Me.Energy, 1);
         Add(A.Me.Metal, 1);
         Add(A.Me.Elements, 1);
     }},
};

static_assert(std::size(CardActions) == CardCount, "one action per card");

constexpr bool ActionsAreInCardOrder() {
    for (int32_t Index = 0; Index < CardCount; ++Index)
        if (CardActions[Index].Card != Index + 1) return false;
    return true;
}
static_assert(ActionsAreInCardOrder(), "actions are listed for cards 1..50 in order");

template <int32_t Card>
void PayAndApply(TGameState &State, int32_t Player) {
    assert((Player == 0 || Player == 1) && "player index out of range");
    TPlayer &Me = State[Player];
    const TCardCost &Cost = CardCosts[Card];
    Subtract(Me.Energy, Cost.Energy);
    Subtract(Me.Metal, Cost.Metal);
    Subtract(Me.Elements, Cost.Elements);
    CardActions[Card - 1].Apply(TActors{State, Player, Me, State[Opponent(Player)]});
}

template <std::size_t... Index>
constexpr CardTable<TCardEffect> MakeCardEffects(std::index_sequence<Index...>) {
    return CardTable<TCardEffect>{{&PayAndApply<static_cast<int32_t>(Index) + 1>...}};
}

}  // namespace

constexpr CardTable<TCardEffect> CardEffects = MakeCardEffects(std::make_index_sequence<CardCount>{});

}  // namespace velkaran
