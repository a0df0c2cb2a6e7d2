// The rules around the card effects: set-up, card sets, playing a card, production, views.
#pragma once

#include "game_state.h"
#include "start_position.h"

#include <velkaran/bot.h>

#include <cstdint>

namespace velkaran {

// Clears State and gives both players the starting values (base 40, shield 15, ...).
void NewGameState(TGameState &State);

// Clears State and gives each player the values of its side of Start.
void NewGameState(TGameState &State, const TStartPosition &Start);

// True when List holds 15 different cards, each from 1 to 50.
bool IsValidCardSet(const TCardList &List);

// True when Card is 1..50, in Player's set, and Player can pay all three costs.
bool CanPlayCard(const TGameState &State, int32_t Player, int32_t Card);

// Fills List with the cards Player can pay for now, in set order, the rest 0; returns their count.
int32_t GetPlayableCards(const TPlayer &Player, TCardList &List);

// Plays Card for Player (count, effect, laboratory limits); false and no change when refused.
bool PlayCard(TGameState &State, int32_t Player, int32_t Card);

// The most laboratories a player with Base may keep: 5, and one more for every 5 points above 50.
int32_t LaboratoryLimit(int32_t Base);

// Cuts Player's laboratories down to the limit its base allows (5, more above a base of 50).
void LimitLaboratories(TGameState &State, int32_t Player);

// End-of-round production for the first player, then the second, with the statistics totals.
void Produce(TGameState &State);

// True when Player's base is below 1.
inline bool IsBaseDestroyed(const TPlayer &Player) { return Player.Base < 1; }

// Fills View with what Player may see under Options (HiddenInformation hides a shield above 20).
void MakeView(const TGameState &State, int32_t Options, int32_t Player, TGameView &View);

}  // namespace velkaran
