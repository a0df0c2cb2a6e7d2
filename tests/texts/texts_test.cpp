// The program's words: counts with the noun agreeing, and the host's faults in Russian.
#include "texts/fault_text.h"
#include "texts/plural.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace velkaran {
namespace {

TEST(PluralTest, TheNounAgreesWithTheLastDigitsOfItsCount) {
    const std::pair<int64_t, const char *> Cases[] = {
        {0, "0 игр"},     {1, "1 игра"},      {2, "2 игры"},     {4, "4 игры"},
        {5, "5 игр"},     {11, "11 игр"},     {12, "12 игр"},    {14, "14 игр"},
        {21, "21 игра"},  {22, "22 игры"},    {101, "101 игра"}, {111, "111 игр"},
        {112, "112 игр"}, {1000, "1000 игр"}, {-1, "-1 игра"},   {-13, "-13 игр"}};
    for (const auto &[Count, Text] : Cases) EXPECT_EQ(CountText(Count, GamesWord), Text);
    EXPECT_EQ(PluralForm(INT64_MIN, GamesWord), "игр");  // ...808
    EXPECT_EQ(PluralForm(INT64_MAX, GamesWord), "игр");  // ...807
    EXPECT_EQ(RoundsText(23), "23 раунда");
}

TEST(FaultTextTest, TheHostsWordsAreRussianAndTheBotsOwnStayAsTheyWere) {
    EXPECT_EQ(FaultDetailText("killed by SIGSEGV (Segmentation fault)"),
              "завершён сигналом SIGSEGV (нарушение доступа к памяти)");
    EXPECT_EQ(FaultDetailText("killed by signal 40"), "завершён сигналом 40");
    EXPECT_EQ(FaultDetailText("no answer within 22000 ms"), "нет ответа за 22000 мс");
    EXPECT_EQ(FaultDetailText("its worker could not be started again: did not finish loading within 5 s"),
              "рабочий процесс не удалось запустить снова: не загрузился за 5 с");
    EXPECT_EQ(FaultDetailText("an exception left the bot (no answer within 1 ms)"),
              "из бота вылетело исключение (no answer within 1 ms)");
    EXPECT_EQ(FaultDetailText("something new"), "something new");
}

}  // namespace
}  // namespace velkaran
