// Seeded random play from the standard start, kept when neither base is near destruction.
#include "random_start_positions.h"

#include "catalogue.h"
#include "seeded_random.h"
#include "turn_rules.h"

#include <cassert>
#include <numeric>

namespace velkaran {
namespace {

constexpr int32_t FewestRounds = 2;
constexpr int32_t MostRounds = 8;

// 15 different cards, each set of them equally likely (a partial Fisher-Yates shuffle).
TCardList RandomSet(TSeededRandom &Random) {
    int32_t Cards[CardCount];
    std::iota(Cards, Cards + CardCount, 1);
    TCardList Set;
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot) {
        const auto Pick = Slot + static_cast<int32_t>(Random.Below(static_cast<uint64_t>(CardCount - Slot)));
        std::swap(Cards[Slot], Cards[Pick]);
        Set[Slot] = Cards[Slot];
    }
    return Set;
}

// One attempt: true with the position in Start when it is kept.
bool TryPosition(TSeededRandom &Random, TStartPosition &Start) {
    TGameState State;
    NewGameState(State);
    State[0].Cards = RandomSet(Random);
    State[1].Cards = RandomSet(Random);
    const auto Rounds = FewestRounds + static_cast<int32_t>(Random.Below(MostRounds - FewestRounds + 1));
    for (int32_t Round = 0; Round < Rounds; ++Round) {
        for (int32_t Mover = 0; Mover < 2; ++Mover) {
            TCardList Playable;
            const int32_t Count = GetPlayableCards(State[static_cast<std::size_t>(Mover)], Playable);
            if (Count > 0) {
                const int32_t Card = Playable[static_cast<int>(Random.Below(static_cast<uint64_t>(Count)))];
                const bool Played = PlayCard(State, Mover, Card);
                assert(Played && "a playable card is played");
                (void)Played;
            }
            if (State[0].Base < NearDestructionBase || State[1].Base < NearDestructionBase) return false;
        }
        Produce(State);
    }
    Start = {{State[0], State[1]}};
    return StartPositionProblem(Start).empty();
}

}  // namespace

TStartPosition RandomStartPosition(uint64_t Seed, int64_t Index) {
    TSeededRandom Random(Seed ^ MixBits(static_cast<uint64_t>(Index) + 1));
    TStartPosition Start;
    while (!TryPosition(Random, Start)) {
    }
    return Start;
}

std::vector<TStartPosition> RandomStartPositions(uint64_t Seed, int64_t Count) {
    assert(Count >= 0 && Count <= MaxRandomStartPositions && "count checked by the caller");
    std::vector<TStartPosition> Positions;
    Positions.reserve(static_cast<std::size_t>(Count));
    for (int64_t Index = 0; Index < Count; ++Index) Positions.push_back(RandomStartPosition(Seed, Index));
    return Positions;
}

}  // namespace velkaran
