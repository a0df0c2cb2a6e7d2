// The card catalogue: costs, description texts, HasFlags.
#include "rules_test_support.h"

#include <string>
#include <string_view>

namespace velkaran {
namespace {

// The cost that a description text states before its colon ("En 5, Me 3"); absent resources cost 0.
TCardCost CostStatedIn(std::string_view Text) {
    TCardCost Cost{0, 0, 0};
    const std::string_view Terms = Text.substr(0, Text.find(':'));
    auto Read = [&](std::string_view Name, int32_t &Field) {
        const std::size_t At = Terms.find(std::string(Name) + " ");
        if (At != std::string_view::npos) Field = std::stoi(std::string(Terms.substr(At + Name.size() + 1)));
    };
    Read("En", Cost.Energy);
    Read("Me", Cost.Metal);
    Read("El", Cost.Elements);
    return Cost;
}

TEST(Catalogue, EveryCostMatchesTheCostItsTextStates) {
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const TCardCost Stated = CostStatedIn(CardDescriptions[Card]);
        EXPECT_EQ(CardCosts[Card], Stated) << CardDescriptions[Card];
    }
}

TEST(Catalogue, PassIsFreeAndSuperAttack4IsTheMostExpensive) {
    EXPECT_EQ(CardCosts[50], (TCardCost{0, 0, 0}));
    EXPECT_EQ(CardCosts[31], (TCardCost{26, 16, 10}));
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const TCardCost &Cost = CardCosts[Card];
        EXPECT_LE(Cost.Energy + Cost.Metal + Cost.Elements, 52) << "card " << Card;
    }
}

TEST(Catalogue, EveryTextBeginsWithItsOwnNumber) {
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const std::string Prefix = "(" + std::to_string(Card) + ") ";
        EXPECT_TRUE(CardDescriptions[Card].starts_with(Prefix)) << CardDescriptions[Card];
        EXPECT_GT(CardDescriptions[Card].size(), Prefix.size());
    }
}

TEST(Catalogue, TextsAreStoredExactlyInUtf8) {
    EXPECT_EQ(CardDescriptions[1], "(1) Атака 1. En 4 : ->5");
    EXPECT_EQ(CardDescriptions[12], "(12) Атака2 3. En 12, Me 5, El 2  : ->25, <-10");  // two blanks
    EXPECT_EQ(CardDescriptions[32], "(32) СуперАтака 5. En 16, Me 12, El 6: ->25, Base-5");
    EXPECT_EQ(
        CardDescriptions[19],
        "(19) Ремонт 5. En 5, Me 4 : Увеличение брони базы за счёт щита, в соотношении 2:1 (используется не "
        "более 6 ед. щита)");
    EXPECT_EQ(CardDescriptions[42],
              "(42) Шпионаж 2. En 4, Me 4 : Похищение до 5 ед. эллектроэлементов у врага");
    EXPECT_EQ(CardDescriptions[50], "(50) Пропуск хода. En+1, Me+1, El+1");
    // "А" of "Атака" as two UTF-8 bytes, not one Windows-1251 byte.
    EXPECT_EQ(CardDescriptions[1].substr(4, 2), "\xD0\x90");
}

TEST(Catalogue, HasFlagsNeedsEveryBitOfTheMask) {
    EXPECT_TRUE(HasFlags(7, 5));
    EXPECT_FALSE(HasFlags(2, 3));
    EXPECT_TRUE(HasFlags(0, 0));
    EXPECT_TRUE(HasFlags(-1, 0));
    EXPECT_TRUE(HasFlags(FirstPlayerLost | ErrorOrPass, ErrorOrPass));
    EXPECT_FALSE(HasFlags(FirstPlayerLost, ErrorOrPass));
    EXPECT_TRUE(HasFlags(BotsOnly | ShowFinalPosition | 100, BotsOnly | ShowFinalPosition));
}

}  // namespace
}  // namespace velkaran
