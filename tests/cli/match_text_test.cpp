// The result text on stdout: single games, series, seats, locale, and nothing else on the streams.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace velkaran::testing {
namespace {

using ::testing::ContainsRegex;

class MatchText : public ::testing::Test {
protected:
    MatchText() {
        Folder.AddSampleBot("greedy.so");
        Folder.AddSampleBot("passive.so");
        Folder.AddSampleBot("planner.so");
    }
    MatchFolder Folder;
};

// Single game, the planner (second) beating the greedy bot: a fixed text but for the timings.
TEST_F(MatchText, SingleGameIsTheGoldenText) {
    const TCliRun Run = Folder.Run({"greedy.so", "planner.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(Run.Err, "");
    EXPECT_EQ(WithoutTimings(Run.Out), GoldenText("greedy_planner_single.txt", WithoutTimings(Run.Out)));
    const std::vector<std::string> Text = Lines(Run.Out);
    ASSERT_EQ(Text.size(), 6u + 2 + 1 + 58 + 2 + 1 + 58);
    EXPECT_EQ(Text[3], "Выиграл второй игрок (Planner)");
    // The points depend on the thinking time; the winner's are ten times its score.
    const std::string WinnerPoints = "Очки второго игрока : ";
    ASSERT_TRUE(Text[5].starts_with(WinnerPoints)) << Text[5];
    EXPECT_EQ(std::stoi(Text[5].substr(WinnerPoints.size())) % 10, 0) << Text[5];
}

// A series of no games is fully determined: zeros everywhere, no time at all.
TEST_F(MatchText, SeriesOfNoGamesIsTheGoldenText) {
    const TCliRun Run = Folder.Run({"--games", "0", "greedy.so", "passive.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(Run.Err, "");
    EXPECT_EQ(Run.Out, GoldenText("greedy_passive_no_games.txt", Run.Out));

    const TCliRun Negative = Folder.Run({"--games=-2", "greedy.so", "passive.so"});
    ASSERT_EQ(Negative.Status, 0) << Negative.Err;
    std::string Expected = Run.Out;
    const std::string Count = "Количество игр: 0\n";
    Expected.replace(Expected.find(Count), Count.size(), "Количество игр: -4\n");
    EXPECT_EQ(Negative.Out, Expected);
}

// The same library in both seats: seats exchange at half-time, so each side wins its first-player
// games; the tallies stay apart. No progress line, since stderr is not a terminal.
TEST_F(MatchText, SeriesOfTheSameBotKeepsBothSidesApart) {
    const TCliRun Run = Folder.Run({"--games", "3", "greedy.so", "greedy.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(Run.Err, "");
    const std::vector<std::string> Text = Lines(Run.Out);
    ASSERT_GE(Text.size(), 10u);
    EXPECT_EQ(Text[0], "Первый игрок : Greedy");
    EXPECT_EQ(Text[1], "Второй игрок : Greedy");
    EXPECT_EQ(Text[2], "Количество игр: 6");
    EXPECT_EQ(Text[3], "Greedy : количество побед 3");
    EXPECT_EQ(Text[4], "Greedy : количество побед 3");
    EXPECT_EQ(Text[5], "Количество ничей 0");
    EXPECT_EQ(Text[6], "Greedy : количество ошибок 0");
    EXPECT_EQ(Text[7], "Greedy : количество ошибок 0");
}

// The planner beats the greedy bot from either seat.
TEST_F(MatchText, PlannerWinsTheSeriesFromBothSeats) {
    const TCliRun Run = Folder.Run({"--games", "1", "greedy.so", "planner.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    const std::vector<std::string> Text = Lines(Run.Out);
    ASSERT_GE(Text.size(), 6u);
    EXPECT_EQ(Text[3], "Greedy : количество побед 0");
    EXPECT_EQ(Text[4], "Planner : количество побед 2");
}

// The same planner library in both seats keeps each seat's memory apart and plays only valid cards.
TEST_F(MatchText, PlannerPlaysItselfWithoutErrors) {
    const TCliRun Run = Folder.Run({"--games", "1", "planner.so", "planner.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    const std::vector<std::string> Text = Lines(Run.Out);
    ASSERT_GE(Text.size(), 8u);
    EXPECT_EQ(Text[6], "Planner : количество ошибок 0");
    EXPECT_EQ(Text[7], "Planner : количество ошибок 0");
}

// The report's fractional numbers take the locale's decimal separator; the rest does not change.
TEST_F(MatchText, DecimalSeparatorFollowsTheLocale) {
    const TCliRun Plain = Folder.Run({"greedy.so", "passive.so"});
    ASSERT_EQ(Plain.Status, 0) << Plain.Err;
    // The game lasts long enough that some card has a share that is not a whole percentage.
    EXPECT_THAT(Plain.Out, ContainsRegex(" [0-9]+[.][0-9]%[|][(]"));

    std::string LocPath;
    if (!RussianLocale(Folder.Path.parent_path(), LocPath))
        GTEST_SKIP() << "no ru_RU.UTF-8 locale on this machine and no way to generate one";
    std::vector<std::string> Environment = {"LC_ALL=ru_RU.UTF-8"};
    if (!LocPath.empty()) Environment.push_back("LOCPATH=" + LocPath);
    const TCliRun Russian = Folder.Run({"greedy.so", "passive.so"}, Environment);
    ASSERT_EQ(Russian.Status, 0) << Russian.Err;
    EXPECT_THAT(Russian.Out, ContainsRegex(" [0-9]+,[0-9]%[|][(]"));
    std::string Expected = WithoutTimings(Plain.Out);
    std::string Actual = WithoutTimings(Russian.Out);
    std::replace(Expected.begin(), Expected.end(), '.', '#');
    std::replace(Actual.begin(), Actual.end(), ',', '#');
    std::replace(Actual.begin(), Actual.end(), '.', '#');
    std::replace(Expected.begin(), Expected.end(), ',', '#');
    EXPECT_EQ(Actual, Expected);
}

}  // namespace
}  // namespace velkaran::testing
