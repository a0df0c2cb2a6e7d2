// Seeded random playouts: after every move the rules keep the promises every other part relies on.
#include "rules_test_support.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

namespace velkaran {
namespace {

TCardList RandomCardSet(std::mt19937 &Random) {
    std::array<int32_t, CardCount> Cards;
    std::iota(Cards.begin(), Cards.end(), 1);
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot)  // a partial Fisher-Yates shuffle
        std::swap(Cards[Slot], Cards[std::uniform_int_distribution<int32_t>(Slot, CardCount - 1)(Random)]);
    TCardList List{};
    std::copy_n(Cards.begin(), CardSetSize, List.Card);
    return List;
}

int32_t LaboratoryLimit(int32_t Base) { return Base <= 50 ? 5 : 5 + (Base - 50) / 5; }

// What the rules promise of one player after any card.
void ExpectInvariants(const TPlayer &Player) {
    EXPECT_GE(Player.Shield, 0);
    EXPECT_GE(Player.Energy, 0);
    EXPECT_GE(Player.Metal, 0);
    EXPECT_GE(Player.Elements, 0);
    EXPECT_GE(Player.Batteries, 3);
    EXPECT_GE(Player.Mines, 2);
    EXPECT_GE(Player.Laboratories, 2);
    EXPECT_LE(Player.Laboratories, LaboratoryLimit(Player.Base));
}

// Tries a card that PlayCard must refuse and checks that it leaves every byte of the state as it was.
void ExpectRefusal(TGameState &State, int32_t Player, int32_t Card) {
    unsigned char Before[sizeof State];
    std::memcpy(Before, &State, sizeof State);
    EXPECT_FALSE(PlayCard(State, Player, Card));
    EXPECT_EQ(std::memcmp(Before, &State, sizeof State), 0)
        << "refused card " << Card << " changed the state";
}

TEST(RandomPlayouts, KeepEveryInvariantAfterEveryMove) {
    constexpr int32_t Games = 1000;
    constexpr int32_t MaxRounds = 250;
    int64_t Moves = 0;
    for (uint32_t Seed = 1; Seed <= Games; ++Seed) {
        SCOPED_TRACE(testing::Message() << "seed " << Seed);
        std::mt19937 Random(Seed);
        TGameState State;
        NewGameState(State);
        for (TPlayer &Player : State) {
            Player.Cards = RandomCardSet(Random);
            ASSERT_TRUE(IsValidCardSet(Player.Cards));
        }
        CardTable<int32_t> Uses[2]{};
        int32_t Produced[2][3]{};
        bool Over = false;
        for (int32_t Round = 1; Round <= MaxRounds && !Over; ++Round) {
            for (int32_t Player = 0; Player < 2 && !Over; ++Player) {
                TCardList Playable;
                const int32_t Count = GetPlayableCards(State[Player], Playable);
                for (int32_t Card = 1; Card <= CardCount; ++Card) {
                    const bool Listed =
                        std::find(Playable.Card, Playable.Card + Count, Card) != Playable.Card + Count;
                    ASSERT_EQ(Listed, CanPlayCard(State, Player, Card)) << "card " << Card;
                }
                if (Random() % 8 == 0) {  // now and then a move the rules must refuse
                    int32_t Wrong = static_cast<int32_t>(Random() % 56) - 3;
                    if (!CanPlayCard(State, Player, Wrong)) ExpectRefusal(State, Player, Wrong);
                    if (HasFailure()) return;
                }
                if (Count == 0) continue;
                const int32_t Card = Playable[static_cast<int>(Random() % Count)];
                ASSERT_TRUE(PlayCard(State, Player, Card));
                ++Uses[Player][Card];
                ++Moves;
                for (const TPlayer &Each : State) ExpectInvariants(Each);
                if (HasFailure()) return;  // the first broken move, with its seed, is enough
                for (int32_t Index : {0, 1}) ASSERT_EQ(State[Index].Statistics.CardUses, Uses[Index]);
                Over = IsBaseDestroyed(State[0]) || IsBaseDestroyed(State[1]);
            }
            if (Over) break;
            for (int32_t Index : {0, 1}) {
                const TPlayer &Before = State[Index];
                Produced[Index][0] += Before.Batteries;
                Produced[Index][1] += Before.Mines;
                Produced[Index][2] += Before.Laboratories;
            }
            const TGameState BeforeProduction = State;
            Produce(State);
            for (int32_t Index : {0, 1}) {
                const TPlayer &Was = BeforeProduction[Index];
                const TPlayer &Now = State[Index];
                ASSERT_EQ(Now.Energy, Was.Energy + Was.Batteries);
                ASSERT_EQ(Now.Metal, Was.Metal + Was.Mines);
                ASSERT_EQ(Now.Elements, Was.Elements + Was.Laboratories);
                ASSERT_EQ(Now.Statistics.TotalEnergy, Produced[Index][0]);
                ASSERT_EQ(Now.Statistics.TotalMetal, Produced[Index][1]);
                ASSERT_EQ(Now.Statistics.TotalElements, Produced[Index][2]);
            }
        }
    }
    EXPECT_GT(Moves, Games * 20);  // the playouts really played
}

// The longest game the turn limit allows, from an absurdly developed position: production passes 2^31
// and every quantity must wrap like the 32-bit records rather than overflow.
TEST(RandomPlayouts, AnEndlessGameWrapsItsTotalsWithoutOverflow) {
    TGameState State;
    NewGameState(State);
    constexpr TCardList Builders{{33, 34, 35, 36, 37, 50, 15, 16, 17, 18, 19, 20, 21, 22, 38}};
    for (TPlayer &Player : State) {
        Player.Cards = Builders;
        Player.Batteries = Player.Mines = 40000;
    }
    int64_t Produced[2]{};
    for (int32_t Round = 1; Round <= TurnLimitMask; ++Round) {
        for (int32_t Player : {0, 1}) {
            TCardList Playable;
            const int32_t Count = GetPlayableCards(State[Player], Playable);
            if (Count > 0) {
                ASSERT_TRUE(PlayCard(State, Player, Playable[static_cast<int>(Round % Count)]));
            }
        }
        for (int32_t Player : {0, 1}) Produced[Player] += State[Player].Batteries;
        Produce(State);
    }
    for (int32_t Player : {0, 1}) {
        EXPECT_GT(Produced[Player], int64_t{INT32_MAX});
        EXPECT_EQ(State[Player].Statistics.TotalEnergy,
                  static_cast<int32_t>(static_cast<uint32_t>(Produced[Player])));
    }
}

}  // namespace
}  // namespace velkaran
