// The match runner: seats, options word, single games and series, and their texts.
#include "match/match_runner.h"

#include "golden_text.h"
#include "players/quiet_game_interface.h"
#include "runner_test_bots.h"
#include "support/recording_game_interface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace velkaran {
namespace {

using ::testing::ElementsAre;
using namespace velkaran::testing;

// A clock on which every move takes exactly Step milliseconds.
TTimeSource StepClock(double Step) {
    return [Now = 0.0, Step]() mutable { return Now += Step; };
}

TMatchSettings BotMatch(TBot First, TBot Second, int ModeItem, int32_t GameCount = 3) {
    TMatchSettings Settings;
    Settings.First.Bot = std::move(First);
    Settings.Second.Bot = std::move(Second);
    Settings.ModeItem = ModeItem;
    Settings.GameCount = GameCount;
    return Settings;
}

class MatchRunner : public ::testing::Test {
protected:
    std::vector<std::string> Run(const TMatchSettings &Settings, double MoveMs = 250.0,
                                 const std::string &Separator = ",") {
        Environment.Ui = &Quiet;
        Environment.DecimalSeparator = Separator;
        Environment.Clock = StepClock(MoveMs);
        Last = RunMatch(Settings, Environment);
        return Last.Lines;
    }
    TMatchOutcome Last;  // of the latest Run
    QuietGameInterface Quiet;
    TMatchEnvironment Environment;
};

TEST_F(MatchRunner, SingleGameTextBetweenTwoBots) {
    ExpectGolden(Run(BotMatch(Striker(), Passer(), 0), 123.4567), "single_game.txt");
}

TEST_F(MatchRunner, SeriesTextCountsForThePlayersNotTheSeats) {
    // The striker wins every game from either seat: 6 wins of 6, not 3 for each seat.
    ExpectGolden(Run(BotMatch(Striker(), Passer(), 1, 3), 100.0, "."), "series.txt");
}

TEST_F(MatchRunner, SeriesOfNoGamesWritesZerosAndEmptyReports) {
    ExpectGolden(Run(BotMatch(Striker(), Passer(), 1, 0)), "series_zero.txt");
    const std::vector<std::string> Negative = Run(BotMatch(Striker(), Passer(), 1, -2));
    EXPECT_EQ(Negative[2], "Количество игр: -4");
    EXPECT_EQ(Negative[3], "Striker : количество побед 0");
}

// Outcome line, rounds and points of single games ending in each way.
struct TSingleGameCase {
    const char *Title;
    TBot First;
    TBot Second;
    double MoveMs;
    std::vector<std::string> Lines3To6;
};

TEST_F(MatchRunner, SingleGameOutcomesAndPoints) {
    const std::vector<TSingleGameCase> Cases{
        {"refused move",
         Striker(),
         Refuser(),
         1000.0,
         {"Количество ходов : 1", "Выиграл первый игрок (Striker) (ошибка или пас противника)",
          "Очки первого игрока : 190", "Очки второго игрока : 19"}},
        {"rejected set",
         BadSet(),
         Passer(),
         1000.0,
         {"Количество ходов : 0", "Выиграл второй игрок (Passer) (ошибка или пас противника)",
          "Очки первого игрока : 2", "Очки второго игрока : 20"}},
        {"slow move",
         Passer(),
         Striker(),
         20001.0,
         {"Количество ходов : 1", "Выиграл второй игрок (Striker) (превышение лимита времени противника)",
          "Очки первого игрока : 0", "Очки второго игрока : 200"}},
        {"draw",
         Passer(),
         Passer(),
         2500.0,
         {"Количество ходов : 200", "Ничья", "Очки первого игрока : 18", "Очки второго игрока : 18"}},
    };
    for (const TSingleGameCase &Case : Cases) {
        const std::vector<std::string> Lines = Run(BotMatch(Case.First, Case.Second, 0), Case.MoveMs);
        ASSERT_GE(Lines.size(), 6u) << Case.Title;
        EXPECT_EQ(std::vector<std::string>(Lines.begin() + 2, Lines.begin() + 6), Case.Lines3To6)
            << Case.Title;
    }
}

TEST_F(MatchRunner, SeriesCountsErrorsButNotSlowMovesAsErrors) {
    const std::vector<std::string> Refused = Run(BotMatch(Refuser(), Striker(), 1, 2));
    EXPECT_THAT(std::vector<std::string>(Refused.begin() + 3, Refused.begin() + 10),
                ElementsAre("Refuser : количество побед 0", "Striker : количество побед 4",
                            "Количество ничей 0", "Refuser : количество ошибок 4",
                            "Striker : количество ошибок 0", "Refuser : 80 очков", "Striker : 800 очков"));

    // Every move too slow: the first seat always loses, so each player wins the half it sits second.
    const std::vector<std::string> Slow = Run(BotMatch(Passer(), Striker(), 1, 2), 20001.0);
    EXPECT_THAT(std::vector<std::string>(Slow.begin() + 3, Slow.begin() + 10),
                ElementsAre("Passer : количество побед 2", "Striker : количество побед 2",
                            "Количество ничей 0", "Passer : количество ошибок 0",
                            "Striker : количество ошибок 0", "Passer : 400 очков", "Striker : 400 очков"));
}

TEST_F(MatchRunner, TheSameBotInBothSeatsKeepsTwoTallies) {
    const std::vector<std::string> Lines = Run(BotMatch(Striker(), Striker(), 1, 2));
    EXPECT_EQ(Lines[0], "Первый игрок : Striker");
    EXPECT_EQ(Lines[1], "Второй игрок : Striker");
    // Identical players: the first to move wins, and each player moves first in one half.
    EXPECT_EQ(Lines[3], "Striker : количество побед 2");
    EXPECT_EQ(Lines[4], "Striker : количество побед 2");
}

TEST_F(MatchRunner, ReportsSeriesProgressAfterEachGame) {
    std::vector<TSeriesProgress> Reports;
    Environment.OnSeriesGame = [&Reports](const TSeriesProgress &Progress) { Reports.push_back(Progress); };
    Run(BotMatch(Passer(), Striker(), 1, 2));
    ASSERT_EQ(Reports.size(), 4u);
    for (std::size_t Game = 0; Game < Reports.size(); ++Game) {
        EXPECT_EQ(Reports[Game].GamesPlayed, static_cast<int64_t>(Game + 1));
        EXPECT_EQ(Reports[Game].GamesTotal, 4);
        EXPECT_EQ(Reports[Game].FirstWins, 0);
        EXPECT_EQ(Reports[Game].SecondWins, static_cast<int64_t>(Game + 1));
        EXPECT_EQ(Reports[Game].Draws, 0);
    }
    Reports.clear();
    Run(BotMatch(Passer(), Striker(), 0, 2));  // a single game reports nothing
    EXPECT_TRUE(Reports.empty());
}

TEST(BuildOptionsWord, TurnLimitHiddenInformationAndTheFlagsOfEachMode) {
    TMatchSettings Settings = BotMatch(Passer(), Passer(), 0);
    EXPECT_EQ(BuildOptionsWord(Settings), 200 | HiddenInformation | BotsOnly | ShowFinalPosition);
    Settings.ModeItem = 1;
    EXPECT_EQ(BuildOptionsWord(Settings), 200 | HiddenInformation | BotsOnly);
    Settings.Second.Human = true;  // a human takes part: no flags, whatever the mode
    EXPECT_EQ(BuildOptionsWord(Settings), 200 | HiddenInformation);
    Settings.TurnLimit = 50000;
    EXPECT_EQ(BuildOptionsWord(Settings), 50000 | HiddenInformation);
}

TEST_F(MatchRunner, BotsSeeTheOptionsWordOfEachMode) {
    TMatchSettings Settings = BotMatch(Passer(), Passer(), 0);
    Settings.TurnLimit = 30;
    Run(Settings);
    EXPECT_EQ(SeenByBots.Options, 30 | HiddenInformation | BotsOnly | ShowFinalPosition);
    Settings.ModeItem = 1;
    Settings.GameCount = 1;
    Run(Settings);
    EXPECT_EQ(SeenByBots.Options, 30 | HiddenInformation | BotsOnly);
}

// A human seat plays through the game interface's StartGame and GetTurn under the name "_HUMAN_".
TEST(MatchRunnerHumans, HumanSeatsPlayThroughTheGameInterface) {
    RecordingGameInterface Ui;
    Ui.OnStartGame = [](int32_t, TCardList *CardSet, const TTurnInfo *) {
        if (CardSet != nullptr) ChooseRun(CardSet, 36);
    };
    Ui.OnGetTurn = [](int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; };
    TMatchEnvironment Environment;
    Environment.Ui = &Ui;
    Environment.Clock = StepClock(1.0);

    TMatchSettings Settings = BotMatch(Passer(), Passer(), 1, 5);  // the series item is ignored
    Settings.First.Human = true;
    Settings.TurnLimit = 30;
    std::vector<std::string> Lines = RunMatch(Settings, Environment).Lines;
    EXPECT_EQ(Lines[0], "Первый игрок : _HUMAN_");
    EXPECT_EQ(Lines[1], "Второй игрок : Passer");
    EXPECT_EQ(Lines[2], "Количество ходов : 30");  // one game, not a series
    EXPECT_EQ(SeenByBots.OpponentName, "_HUMAN_");
    EXPECT_EQ(SeenByBots.Options, 30 | HiddenInformation);
    for (const TRecordedCall &Call : Ui.CallsOf(TUiCallKind::GetTurn)) EXPECT_EQ(Call.PlayerIndex, 0);
    EXPECT_EQ(Ui.Count(TUiCallKind::GetTurn), 30u);

    Settings.Second.Human = true;
    Ui.Calls.clear();
    Lines = RunMatch(Settings, Environment).Lines;
    EXPECT_EQ(Lines[0], "Первый игрок : _HUMAN_");
    EXPECT_EQ(Lines[1], "Второй игрок : _HUMAN_");
    std::vector<int32_t> StartIndices;
    for (const TRecordedCall &Call : Ui.CallsOf(TUiCallKind::StartGame))
        StartIndices.push_back(Call.PlayerIndex);
    EXPECT_THAT(StartIndices, ElementsAre(0, 1, 0, 1));
    EXPECT_EQ(Ui.Count(TUiCallKind::GetTurn), 60u);
}

TEST_F(MatchRunner, AFaultInsideAPlayerPassesThroughWithoutText) {
    EXPECT_THROW(Run(BotMatch(Passer(), Thrower(), 0)), std::runtime_error);
    EXPECT_THROW(Run(BotMatch(Thrower(), Passer(), 1)), std::runtime_error);
    TBot Unavailable{false, "No GetTurn", PasserStart, nullptr, {}};
    EXPECT_THROW(Run(BotMatch(Passer(), Unavailable, 0)), std::invalid_argument);
}

TEST_F(MatchRunner, AStopRequestEndsTheSeriesWithTheGamesPlayedOrAbandonsTheGameInPlay) {
    std::atomic<int> Stop{0};
    Environment.Stop = &Stop;
    Environment.OnGameEnd = [&Stop](const TPlayedGame &Game) {
        if (Game.Number == 3) Stop = static_cast<int>(TStopRequest::AfterThisGame);
    };
    const std::vector<std::string> After = Run(BotMatch(Striker(), Passer(), 1, 5));
    EXPECT_EQ(After[2], "Количество игр: 10");
    EXPECT_EQ(After[3], "Серия остановлена после 3 из 10 игр");
    EXPECT_EQ(After[4], "Striker : количество побед 3");
    EXPECT_TRUE(Last.Stopped);
    EXPECT_EQ(Last.GamesCounted, 3);
    // Asked for during the last game, it finds the series complete.
    Environment.OnGameEnd = [&Stop](const TPlayedGame &Game) {
        if (Game.Number == 2) Stop = static_cast<int>(TStopRequest::AfterThisGame);
    };
    Stop = 0;
    EXPECT_EQ(Run(BotMatch(Striker(), Passer(), 1, 1))[3], "Striker : количество побед 2");

    // At once: the game in play when the request came does not count.
    Stop = 0;
    Environment.OnGameEnd = [&Stop](const TPlayedGame &Game) {
        if (Game.Number == 2) Stop = static_cast<int>(TStopRequest::AtOnce);
    };
    const std::vector<std::string> AtOnce = Run(BotMatch(Striker(), Passer(), 1, 5));
    EXPECT_EQ(AtOnce[3], "Серия остановлена после 2 из 10 игр");
    EXPECT_TRUE(Last.Stopped);
    Stop = static_cast<int>(TStopRequest::AtOnce);
    EXPECT_THAT(Run(BotMatch(Striker(), Passer(), 0)),
                ElementsAre("Игра остановлена до конца: результата нет"));
}

// The views the first player of each game saw in its first move, in the order of the games.
std::vector<TGameView> FirstViews;
int32_t WatcherTurn(int32_t Index, const TGameView *View, const TCardList *, const TTurnInfo *Info) {
    if (Index == 0 && Info->Turn == 1) FirstViews.push_back(*View);
    return 50;
}

TEST_F(MatchRunner, EachPairOfASeriesStartsFromItsPositionWithTheSeatsExchanged) {
    // Two positions, shields low enough that nothing is hidden from the first player.
    TStartPosition A = StandardStartPosition(), B = StandardStartPosition();
    A.Sides[0].Base = 30;
    A.Sides[1].Energy = 40;
    B.Sides[0].Metal = 0;
    B.Sides[1].Shield = 3;
    TMatchSettings Settings = BotMatch(MakeBot("Watcher", PasserStart, WatcherTurn), Passer(), 1, 3);
    Settings.Openings = MakeOpeningBook({A, B});
    std::vector<TGameRecord> Records;
    std::vector<std::array<int, 2>> Seating;
    Environment.OnGameEnd = [&](const TPlayedGame &Game) {
        Records.push_back(*Game.Record);
        Seating.push_back(Game.PlayerOfSeat);
    };
    FirstViews.clear();
    Run(Settings);
    ASSERT_EQ(Records.size(), 6u);
    // Pair P is game P of each half: positions A, B, A, with player 1 first, then player 2 first.
    const TStartPosition Expected[] = {A, B, A};
    for (std::size_t Game = 0; Game < 6; ++Game) {
        SCOPED_TRACE(Game);
        const TStartPosition &Start = Expected[Game % 3];
        EXPECT_EQ(Records[Game].Start, Start);
        EXPECT_EQ(Records[Game].Place.Pair, static_cast<int64_t>(Game % 3));
        EXPECT_EQ(Seating[Game][0], Game < 3 ? 0 : 1);
        // Whoever moves first holds the position's first side, and sees the position as it is.
        if (Game < 3) {
            EXPECT_EQ(FirstViews[Game], (TGameView{{Start.Sides[0], Start.Sides[1]}}));
        }
    }
}

TEST_F(MatchRunner, AMoveOverTheMoveLimitLosesByTheTimeLimit) {
    TMatchSettings Settings = BotMatch(Passer(), Striker(), 0);
    Settings.MoveLimitMs = 50;
    const std::vector<std::string> Slow = Run(Settings, 100.0);
    EXPECT_EQ(Slow[3], "Выиграл второй игрок (Striker) (превышение лимита времени противника)");
    const std::vector<std::string> InTime = Run(Settings, 50.0);
    EXPECT_NE(InTime[3], Slow[3]);
}

TEST(ComputeScore, TwentyMinusTheMeanSecondsPerRoundRoundedHalfToEven) {
    TPlayer Player{};
    const auto Score = [&Player](double TotalMs, uint32_t Rounds) {
        Player.Statistics.TotalTime = TotalMs;
        return ComputeScore(Player, Rounds);
    };
    EXPECT_EQ(Score(0, 10), 20u);
    EXPECT_EQ(Score(5000, 10), 20u);   // 19.5
    EXPECT_EQ(Score(15000, 10), 18u);  // 18.5
    EXPECT_EQ(Score(25000, 10), 18u);  // 17.5
    EXPECT_EQ(Score(200000, 10), 0u);  // 20 s per round
    EXPECT_EQ(Score(123456, 0), 2u);   // no round begun
    EXPECT_EQ(Score(300000, 10), 0u);  // slower than 20 s per round: 0, never a wrapped number
    EXPECT_EQ(Score(1e300, 1), 0u);
    EXPECT_EQ(Score(0, 4294967295u), 20u);
}

}  // namespace
}  // namespace velkaran
