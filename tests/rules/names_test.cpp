// Player indices and names: Opponent, IsValidName, SetOpponentName.
#include "rules/player_names.h"

#include <velkaran/bot.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace velkaran {
namespace {

TEST(Names, OpponentIsOneOnlyForZero) {
    EXPECT_EQ(Opponent(0), 1);
    EXPECT_EQ(Opponent(1), 0);
    EXPECT_EQ(Opponent(2), 0);
    EXPECT_EQ(Opponent(-1), 0);
}

TEST(Names, ValidNamesUseOnlyTheAllowedCharacters) {
    EXPECT_TRUE(IsValidName(""));
    EXPECT_TRUE(IsValidName("_HUMAN_"));
    EXPECT_TRUE(IsValidName("Bot (v1.2) +x - y_z 09 AZ az"));
    EXPECT_TRUE(IsValidName(std::string(30, 'a').c_str()));
    EXPECT_FALSE(IsValidName(std::string(31, 'a').c_str()));
    for (const char *Bad :
         {"a,b", "a/b", "a:b", "a'b", "a[b", "a]b", "a{b", "a}b", "a@b", "a~b", "a\tb", "a\x7F"})
        EXPECT_FALSE(IsValidName(Bad)) << Bad;
    EXPECT_FALSE(IsValidName("Бот"));           // Cyrillic in UTF-8
    EXPECT_FALSE(IsValidName("\xC1\xEE\xF2"));  // Cyrillic in Windows-1251
    EXPECT_FALSE(IsValidName("a\x80"));
}

TEST(Names, NullIsNotAName) { EXPECT_FALSE(IsValidName(nullptr)); }

TEST(Names, SetOpponentNameZeroPadsTheField) {
    char Field[31];
    SetOpponentName(Field, std::string(30, 'x'));
    EXPECT_EQ(std::string(Field, 30), std::string(30, 'x'));
    EXPECT_EQ(Field[30], '\0');

    SetOpponentName(Field, "_HUMAN_");  // a shorter name leaves no trace of the longer one
    EXPECT_EQ(std::string(Field, 7), "_HUMAN_");
    for (int Byte = 7; Byte < 31; ++Byte) EXPECT_EQ(Field[Byte], '\0') << "byte " << Byte;
}

TEST(Names, SetOpponentNameCutsALongNameToThirtyCharacters) {
    struct {
        char Field[31];
        char Guard[8];
    } Record;
    std::memset(Record.Guard, '#', sizeof Record.Guard);
    SetOpponentName(Record.Field, std::string(40, 'y'));
    EXPECT_EQ(std::string(Record.Field), std::string(30, 'y'));
    EXPECT_EQ(std::string(Record.Guard, 8), "########");
}

}  // namespace
}  // namespace velkaran
