// The rules' cost of one move in a random playout: MakeView + GetPlayableCards + PlayCard, and Produce
// after every round. One benchmark iteration is one move, so the time per iteration is the time per move.
//
// The random choices are drawn before timing starts: a move reads the next precomputed 32-bit number and
// scales it to the number of playable cards with a multiply and a shift. RandomChoiceOnly measures that
// lookup alone, so it can be subtracted from the playout's figure.
#include "rules/player_names.h"
#include "rules/turn_rules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

using namespace velkaran;

constexpr std::size_t ChoiceCount = 1 << 16;  // a power of two, so the index wraps with a mask
constexpr std::size_t CardSetCount = 256;
constexpr int32_t RoundLimit = 500;

struct TPrecomputed {
    std::vector<uint32_t> Choices;
    std::vector<TCardList> CardSets;
};

const TPrecomputed &Precomputed() {
    static const TPrecomputed Data = [] {
        TPrecomputed Result;
        std::mt19937 Random(2060);
        Result.Choices.resize(ChoiceCount);
        for (uint32_t &Choice : Result.Choices) Choice = static_cast<uint32_t>(Random());
        for (std::size_t Set = 0; Set < CardSetCount; ++Set) {
            std::array<int32_t, CardCount> Cards;
            std::iota(Cards.begin(), Cards.end(), 1);
            std::shuffle(Cards.begin(), Cards.end(), Random);
            TCardList List{};
            std::copy_n(Cards.begin(), CardSetSize, List.Card);
            Result.CardSets.push_back(List);
        }
        return Result;
    }();
    return Data;
}

// Scales a 32-bit random number to 0..Count-1 without a division.
inline int32_t Scale(uint32_t Random, int32_t Count) {
    return static_cast<int32_t>((static_cast<uint64_t>(Random) * static_cast<uint32_t>(Count)) >> 32);
}

// One playout that goes on game after game; Move() plays one move and returns nothing.
class TPlayout {
public:
    explicit TPlayout(const TPrecomputed &Data) : Data(Data) { StartGame(); }

    void Move() {
        TGameView View;
        MakeView(State, HiddenInformation, Player, View);
        benchmark::DoNotOptimize(View);
        TCardList Playable;
        const int32_t Count = GetPlayableCards(State[Player], Playable);
        if (Count > 0) {
            const int32_t Card = Playable[Scale(Data.Choices[NextChoice++ & (ChoiceCount - 1)], Count)];
            [[maybe_unused]] const bool Played = PlayCard(State, Player, Card);
            assert(Played && "a playable card was refused");
        }
        if (IsBaseDestroyed(State[0]) || IsBaseDestroyed(State[1])) {
            StartGame();
            return;
        }
        if (Player == 1) {
            Produce(State);
            if (++Round > RoundLimit) StartGame();
        }
        Player = Opponent(Player);
    }

    int64_t Games() const { return GameCount; }

private:
    void StartGame() {
        NewGameState(State);
        State[0].Cards = Data.CardSets[NextSet++ % CardSetCount];
        State[1].Cards = Data.CardSets[NextSet++ % CardSetCount];
        Player = 0;
        Round = 1;
        ++GameCount;
    }

    const TPrecomputed &Data;
    TGameState State{};
    int32_t Player = 0;
    int32_t Round = 1;
    std::size_t NextChoice = 0;
    std::size_t NextSet = 0;
    int64_t GameCount = 0;
};

void RandomPlayoutMove(benchmark::State &Bench) {
    TPlayout Playout(Precomputed());
    for (auto _ : Bench) Playout.Move();
    Bench.SetItemsProcessed(Bench.iterations());
    Bench.counters["moves_per_game"] =
        static_cast<double>(Bench.iterations()) / static_cast<double>(std::max<int64_t>(1, Playout.Games()));
}
BENCHMARK(RandomPlayoutMove);

// The precomputed random choice alone: what RandomPlayoutMove spends outside the rules.
void RandomChoiceOnly(benchmark::State &Bench) {
    const TPrecomputed &Data = Precomputed();
    std::size_t NextChoice = 0;
    int32_t Count = 1;
    for (auto _ : Bench) {
        int32_t Choice = Scale(Data.Choices[NextChoice++ & (ChoiceCount - 1)], Count);
        benchmark::DoNotOptimize(Choice);
        Count = Count % CardSetSize + 1;
    }
    Bench.SetItemsProcessed(Bench.iterations());
}
BENCHMARK(RandomChoiceOnly);

}  // namespace

BENCHMARK_MAIN();
