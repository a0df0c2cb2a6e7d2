// The cards in words: titles and effects read from the catalogue, in Russian and in English.
#include "card_texts/card_words.h"

#include "rules/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace velkaran {
namespace {

// The whole numbers that Text mentions, e.g. {25, 10} for "... 25 ... −10 ...".
std::multiset<int> Numbers(const std::string &Text) {
    std::multiset<int> Found;
    for (std::size_t I = 0; I < Text.size();) {
        if (!std::isdigit(static_cast<unsigned char>(Text[I]))) {
            ++I;
            continue;
        }
        std::size_t End = I;
        while (End < Text.size() && std::isdigit(static_cast<unsigned char>(Text[End]))) ++End;
        Found.insert(std::stoi(Text.substr(I, End - I)));
        I = End;
    }
    return Found;
}

TEST(CardTextTest, EveryCardSplitsIntoTitleEffectAndCost) {
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const std::string Prefix = "(" + std::to_string(Card) + ") ";
        EXPECT_EQ(CardTitle(Card).rfind(Prefix, 0), 0u) << Card;
        EXPECT_GT(CardTitle(Card).size(), Prefix.size()) << Card;
        EXPECT_FALSE(CardEffect(Card).empty()) << Card;
        EXPECT_EQ(CardEffect(Card).front() == ' ' || CardEffect(Card).back() == ' ', false) << Card;
    }
    EXPECT_EQ(CardTitle(12), "(12) Атака2 3");
    EXPECT_EQ(CardEffect(12), "->25, <-10");
    EXPECT_EQ(CardEffect(32), "->25, Base-5");
    EXPECT_EQ(CardTitle(50), "(50) Пропуск хода");
    EXPECT_EQ(CardEffect(50), "En+1, Me+1, El+1");
    EXPECT_EQ(CardEffect(19).rfind("Увеличение брони базы за счёт щита, в соотношении 2:1", 0), 0u);
}

TEST(EffectSentenceTest, EveryCodeOfTheCatalogueIsSpelledOut) {
    const char *CodeMarks[] = {"->", "<-", "SS+", "SB+", "Base-", "Shield-", "En+", "Me+", "El+", "и+"};
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const std::string Sentence = EffectSentence(Card);
        ASSERT_FALSE(Sentence.empty()) << Card;
        EXPECT_EQ(Sentence.back(), '.') << Card;
        EXPECT_EQ(Sentence.find(".."), std::string::npos) << Card;
        for (const char *Mark : CodeMarks)
            EXPECT_EQ(Sentence.find(Mark), std::string::npos) << Card << " " << Mark;
    }
    EXPECT_EQ(
        EffectSentence(12),
        "Атака силой 25 (её сначала принимает щит соперника, остаток получает база), удар по себе силой 10 "
        "(сначала по своему щиту, остаток по своей базе).");
    EXPECT_EQ(EffectSentence(22), "Ваш щит +15, ваша база +14.");
    EXPECT_EQ(EffectSentence(27), "Если вражеский щит равен 0, то база соперника −11 (щит её не защищает).");
    EXPECT_EQ(EffectSentence(37), "Лаборатории +1, ваша база +7.");
    EXPECT_EQ(EffectSentence(50), "Энергия +1, металл +1, электроэлементы +1.");
    // The catalogue says "Shield-10"; the card lowers the base.
    EXPECT_EQ(EffectSentence(49).rfind("Если щит соперника не меньше 10, то база соперника −10", 0), 0u);
    EXPECT_EQ(EffectSentence(0), "");
    EXPECT_EQ(EffectSentence(51), "");
}

TEST(EnglishCardTest, EveryCardIsToldInEnglishWithTheAmountsOfItsRussianSentence) {
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const std::string Sentence = EnglishEffectSentence(Card);
        ASSERT_FALSE(Sentence.empty()) << Card;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(Sentence.front()))) << Card;
        EXPECT_EQ(Sentence.back(), '.') << Card;
        // No Cyrillic letter (UTF-8 lead bytes 0xD0, 0xD1) and no code of the catalogue is left.
        EXPECT_EQ(Sentence.find_first_of("\xD0\xD1"), std::string::npos) << Card << ": " << Sentence;
        for (const char *Mark : {"->", "<-", "SS+", "SB+", "Base-", "Shield-", "En+", "Me+", "El+"})
            EXPECT_EQ(Sentence.find(Mark), std::string::npos) << Card << " " << Mark;
        // Each amount of the Russian sentence is in the English one as well.
        const std::multiset<int> English = Numbers(Sentence);
        for (const int Amount : Numbers(EffectSentence(Card)))
            EXPECT_TRUE(English.contains(Amount)) << Card << ": " << Amount << " missing from " << Sentence;
        const std::string Name = EnglishCardName(Card);
        EXPECT_EQ(Name.find_first_of("\xD0\xD1"), std::string::npos) << Card << ": " << Name;
    }
    EXPECT_EQ(EnglishCardName(12), "Attack2 3");
    EXPECT_EQ(EnglishCardName(50), "Pass");
    EXPECT_EQ(CardName(12), "Атака2 3");
    EXPECT_EQ(EnglishEffectSentence(22), "Your shield +15, your base +14.");
    EXPECT_EQ(EnglishEffectSentence(50), "Energy +1, metal +1, electro-elements +1.");
    EXPECT_EQ(EnglishEffectSentence(0), "");
    EXPECT_EQ(EnglishCardName(51), "");
}

}  // namespace
}  // namespace velkaran
