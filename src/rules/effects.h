// The effects of the 50 cards: each pays its cost and changes the two players' status.
#pragma once

#include "card_table.h"
#include "game_state.h"

#include <cstdint>

namespace velkaran {

// An effect routine: pays the card's cost out of Player's resources, then applies the card.
using TCardEffect = void (*)(TGameState &State, int32_t Player);

// The effect of every card, CardEffects[1] .. CardEffects[50]. Only PlayCard calls them.
extern const CardTable<TCardEffect> CardEffects;

// The resources a card can steal, destroy or convert.
enum class TResource { Energy, Metal, Elements };

// An attack of strength N on Target: the shield absorbs first, the rest hits the base.
void Attack(TPlayer &Target, int32_t N);

// Player takes up to N units of Resource from the opponent.
void Steal(TGameState &State, int32_t Player, TResource Resource, int32_t N);

// Up to N units of the opponent's Resource are removed; nothing goes to Player.
void Destroy(TGameState &State, int32_t Player, TResource Resource, int32_t N);

// Player turns up to N units of From into To, Ratio units of To for each unit of From.
void Convert(TPlayer &Player, TResource From, TResource To, int32_t N, int32_t Ratio);

}  // namespace velkaran
