// A seeded random player: the opponent that leads a bot into many different positions.
#pragma once

#include "players/player_seat.h"

#include <cstdint>
#include <random>

namespace velkaran {

// Chooses a random valid set that holds the pass (card 50) and plays a random playable card. The
// same seed gives the same choices, so a game against a bot that answers alike is the same game.
class TRandomPlayer {
public:
    explicit TRandomPlayer(uint64_t Seed) : Engine(Seed) {}

    // The seat functions, which use this player: it must outlive them.
    TSeatCalls Seat();

private:
    void ChooseSet(TCardList &Set);
    int32_t ChooseCard(const TCardList &Playable);

    std::mt19937_64 Engine;
};

}  // namespace velkaran
