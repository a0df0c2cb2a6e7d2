// Shared helpers for the rules tests: ready-made states, playing a card, readable failure output.
#pragma once

#include "rules/catalogue.h"
#include "rules/game_state.h"
#include "rules/player_names.h"
#include "rules/turn_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

// Readable output for the SDK records when an expectation fails.
inline void PrintTo(const TPlayerStatus &S, std::ostream *Out) {
    *Out << "{Base " << S.Base << ", Shield " << S.Shield << ", Batteries " << S.Batteries << ", Mines "
         << S.Mines << ", Laboratories " << S.Laboratories << ", Energy " << S.Energy << ", Metal " << S.Metal
         << ", Elements " << S.Elements << "}";
}

inline void PrintTo(const TGameView &View, std::ostream *Out) {
    PrintTo(View[0], Out);
    *Out << " / ";
    PrintTo(View[1], Out);
}

inline void PrintTo(const TCardList &List, std::ostream *Out) {
    for (int Slot = 0; Slot < CardSetSize; ++Slot) *Out << (Slot ? " " : "[") << List[Slot];
    *Out << "]";
}

namespace velkaran {

inline void PrintTo(const TPlayer &Player, std::ostream *Out) {
    ::PrintTo(static_cast<const TPlayerStatus &>(Player), Out);
    *Out << " cards ";
    ::PrintTo(Player.Cards, Out);
    const TPlayerStatistics &S = Player.Statistics;
    *Out << " produced " << S.TotalEnergy << "/" << S.TotalMetal << "/" << S.TotalElements << " uses";
    for (int32_t Card = 1; Card <= CardCount; ++Card)
        if (S.CardUses[Card] != 0) *Out << " " << Card << "x" << S.CardUses[Card];
}

// A fresh game in which both players hold 15 cards starting at Card (wrapping past 50), so both hold Card,
// and both have Rich of every resource.
inline TGameState StateHolding(int32_t Card, int32_t Rich = 100) {
    TGameState State;
    NewGameState(State);
    for (TPlayer &Player : State) {
        for (int32_t Slot = 0; Slot < CardSetSize; ++Slot)
            Player.Cards[Slot] = (Card - 1 + Slot) % CardCount + 1;
        Player.Energy = Player.Metal = Player.Elements = Rich;
    }
    return State;
}

// Before, with Card's cost paid and its use counted by Player: the part that every card shares.
inline TGameState Paid(TGameState Before, int32_t Card, int32_t Player = 0) {
    TPlayer &Mover = Before[Player];
    Mover.Energy -= CardCosts[Card].Energy;
    Mover.Metal -= CardCosts[Card].Metal;
    Mover.Elements -= CardCosts[Card].Elements;
    Mover.Statistics.CardUses[Card] += 1;
    return Before;
}

// Plays Card for Player on a copy of Before; the move must be accepted.
inline TGameState AfterPlaying(TGameState Before, int32_t Card, int32_t Player = 0) {
    EXPECT_TRUE(PlayCard(Before, Player, Card)) << "card " << Card << " refused";
    return Before;
}

}  // namespace velkaran
