// The results of a match counted from its records agree with the runner's own text, pair the two
// halves of a series game by game, and read as the results view shows them.
#include "summary/match_summary.h"
#include "summary/game_order.h"
#include "summary/progress_text.h"
#include "summary/results_text.h"
#include "summary/series_charts.h"
#include "summary/series_comparison.h"
#include "summary/table_text.h"

#include "match/match_runner.h"
#include "players/quiet_game_interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkaran {
namespace {

// Attacks with cards 1 to 14 and plays the first card it can pay for.
void StrikerStart(int32_t, TCardList *Set, const TTurnInfo *) {
    if (Set == nullptr) return;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) Set->Card[Entry] = Entry + 1;
    Set->Card[CardSetSize - 1] = 50;
}
int32_t StrikerTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}
// Holds cards 36 to 50 and always passes.
void PasserStart(int32_t, TCardList *Set, const TTurnInfo *) {
    if (Set == nullptr) return;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) Set->Card[Entry] = 36 + Entry;
}
int32_t PasserTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; }

// A record of a game at Place that ended with Result; only what the summary reads is filled.
TGameRecord Game(int64_t Number, int64_t Pair, int32_t Leg, int32_t Result) {
    TGameRecord Record;
    Record.Place = {Number, 0, Pair, Leg};
    Record.Result = Result;
    Record.Termination = Result == TurnLimitReached ? TTermination::TurnLimit : TTermination::BaseDestroyed;
    Record.Rounds = 10;
    Record.Moves = {static_cast<int32_t>(Number)};  // every game a different one
    return Record;
}

// One series counted twice, its players listed in either order, compares equal with itself: the
// second is turned to the first's side (its Elo, interval and LOS mirrored back).
TEST(SeriesComparison, TellsBothSeriesFromTheSideOfTheFirstOnesPlayer1) {
    const int32_t Results[] = {FirstPlayerLost,  SecondPlayerLost, SecondPlayerLost, SecondPlayerLost,
                               TurnLimitReached, FirstPlayerLost,  SecondPlayerLost, TurnLimitReached};
    TMatchResults Listed, Reversed;
    Listed.Names = {"Alpha", "Beta"};
    Reversed.Names = {"Beta", "Alpha"};
    for (int64_t Game = 0; Game < 8; ++Game) {
        const int32_t Leg = static_cast<int32_t>(Game % 2);
        TGameRecord Record = velkaran::Game(Game + 1, Game / 2, Leg, Results[Game]);
        Record.Seats[0].TimeMs = 10.0 * static_cast<double>(Game + 1);
        Record.Seats[1].TimeMs = 3;
        Listed.Summary.Add(Record, {Leg, 1 - Leg}, {});
        Reversed.Summary.Add(Record, {1 - Leg, Leg}, {});
    }
    ASSERT_TRUE(SameTwoPlayers(Listed, Reversed));
    const TTextTable Table = SeriesComparison(Listed, Reversed, {"первая", "вторая"}, ",");
    EXPECT_EQ(Table.Header, (std::vector<std::string>{"", "первая", "вторая"}));
    ASSERT_EQ(Table.Rows.size(), 8u);
    for (const std::vector<std::string> &Row : Table.Rows) EXPECT_EQ(Row[1], Row[2]) << Row[0];
    EXPECT_EQ(Table.Rows[1], (std::vector<std::string>{"Очки Alpha", "4", "4"}));
    EXPECT_NE(Table.Rows[4][1].find(" (от "), std::string::npos) << Table.Rows[4][1];

    TMatchResults Other = Listed;
    Other.Names[1] = "Gamma";
    EXPECT_FALSE(SameTwoPlayers(Listed, Other));
}

// The curves end where the summary stands, sampled or not; the time bars hold every move.
TEST(SeriesCharts, CurvesEndAtTheSummarysFiguresAndBarsHoldEveryMove) {
    TMatchSummary Summary;
    for (int64_t Game = 0; Game < 300; ++Game) {
        const int32_t Leg = static_cast<int32_t>(Game % 2);
        const int32_t Result = Game % 7 == 3     ? TurnLimitReached
                               : (Game % 3 == 0) ? FirstPlayerLost
                                                 : SecondPlayerLost;
        const std::vector<double> Times{0.5, 2.0 + static_cast<double>(Game), 0};
        Summary.Add(velkaran::Game(Game + 1, Game / 2, Leg, Result), {Leg, 1 - Leg}, Times);
    }
    for (const std::size_t MaxPoints : {std::size_t(400), std::size_t(37)}) {
        const TSeriesCharts Charts = SeriesCharts(Summary, {"A", "B"}, ",", MaxPoints);
        ASSERT_FALSE(Charts.Score.Points.empty());
        EXPECT_LE(Charts.Score.Points.size(), MaxPoints);
        EXPECT_EQ(Charts.Score.Points.back().X, 300);
        EXPECT_NEAR(Charts.Score.Points.back().Y, ScorePercent(Summary.Players()[0].All), 1e-9);
        ASSERT_TRUE(Charts.Elo.Empty.empty()) << Charts.Elo.Empty;
        EXPECT_EQ(Charts.Elo.Points.back().X, 150);
        const TEloEstimate Elo = Summary.Elo();
        EXPECT_NEAR(Charts.Elo.Points.back().Y, Elo.Elo, 1e-9);
        EXPECT_NEAR(Charts.Elo.Points.back().Low, Elo.Lower, 1e-9);
        for (const TChartPoint &Point : Charts.Elo.Points) {
            EXPECT_LE(Charts.Elo.YMin, Point.Low);
            EXPECT_GE(Charts.Elo.YMax, Point.High);
        }
        for (std::size_t Player = 0; Player < 2; ++Player) {
            uint64_t Moves = 0;
            for (const uint64_t Count : Charts.Times.Moves[Player]) Moves += Count;
            EXPECT_EQ(Moves, Summary.Players()[Player].MoveTimes.Count());
            EXPECT_EQ(Charts.Times.Moves[Player].size(), Charts.Times.BarTexts.size());
        }
    }
    EXPECT_FALSE(SeriesCharts(TMatchSummary{}, {"A", "B"}, ",").Elo.Empty.empty());
}

TEST(MatchSummary, ASeriesCountedFromItsRecordsAgreesWithTheRunnersText) {
    QuietGameInterface Quiet;
    TMatchSettings Settings;
    Settings.First.Bot = TBot{true, "Striker", StrikerStart, StrikerTurn, "./striker.so"};
    Settings.Second.Bot = TBot{true, "Passer", PasserStart, PasserTurn, "./passer.so"};
    Settings.ModeItem = 1;
    Settings.GameCount = 3;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.Clock = [Now = 0.0]() mutable { return Now += 0.5; };
    TMatchSummary Summary;
    int64_t StrikerMoves = 0;
    std::vector<int32_t> Rounds;
    Environment.OnGameEnd = [&](const TPlayedGame &Played) {
        Summary.Add(*Played.Record, Played.PlayerOfSeat, *Played.MoveTimesMs);
        Rounds.push_back(Played.Record->Rounds);
        StrikerMoves += static_cast<int64_t>(Played.Record->Moves.size() + (Played.PlayerOfSeat[0] == 0)) / 2;
    };
    const std::vector<std::string> Text = RunMatch(Settings, Environment).Lines;

    const TPlayerSummary &Striker = Summary.Players()[0];
    const TPlayerSummary &Passer = Summary.Players()[1];
    EXPECT_EQ(Text[3], "Striker : количество побед " + std::to_string(Striker.All.Wins));
    EXPECT_EQ(Text[8], "Striker : " + std::to_string(Striker.All.Points) + " очков");
    EXPECT_EQ(Text[9], "Passer : " + std::to_string(Passer.All.Points) + " очков");
    EXPECT_EQ(Striker.All, (TResultCounts{6, 6, 0, 0, Striker.All.Points}));
    EXPECT_EQ(Striker.AsSeat[0].Games, 3);
    EXPECT_EQ(Striker.AsSeat[1].Wins, 3);
    EXPECT_EQ(Passer.LostBy[static_cast<std::size_t>(TTermination::BaseDestroyed)], 6);
    EXPECT_EQ(static_cast<int64_t>(Striker.MoveTimes.Count()), StrikerMoves);
    EXPECT_DOUBLE_EQ(Striker.MoveTimes.Max(), 0.5);

    ASSERT_EQ(Summary.Games().size(), 6u);
    EXPECT_EQ(Summary.Games()[2],
              (TGameRow{3, 0, 0, TTermination::BaseDestroyed, Summary.Games()[2].Rounds, "", false}));
    EXPECT_EQ(Summary.Games()[3].FirstPlayer, 1);
    EXPECT_EQ(Summary.Pairs().WW, 3u);
    EXPECT_TRUE(Summary.Deterministic());

    const TResultsText View = ResultsText(Summary, ShownPlayerNames({"Striker", "Passer"}),
                                          {.Series = true, .GamesPerHalf = 3, .Stopped = false}, ",");
    EXPECT_EQ(View.Headline, "Серия: сыграно 6 из 6 игр");
    EXPECT_EQ(View.Standings.Rows[0],
              (std::vector<std::string>{"Striker", "всего", "6", "6", "0", "0",
                                        std::to_string(Striker.All.Points), "100,0"}));
    EXPECT_EQ(View.Standings.Rows[4][1], "первым");
    EXPECT_EQ(View.Elo.find("Разница Elo не оценивается: все 3 пары игр одинаковы"), 0u) << View.Elo;
    EXPECT_EQ(View.Terminations.Rows,
              (std::vector<std::vector<std::string>>{{"база разрушена", "6", "0", "6"}}));
    EXPECT_EQ(View.ThinkingTime.Rows[1][0], "Passer");
    EXPECT_EQ(GameRowText(Summary.Games()[4], ShownPlayerNames({"Striker", "Passer"})),
              (std::vector<std::string>{"5", "Passer", "победа Striker", "база разрушена",
                                        std::to_string(Rounds[4]), ""}));
}

// A move given up (no card at all: a human resigning) is told apart from a card the rules refused,
// in the game list and in the table of endings.
TEST(MatchSummary, AMoveGivenUpIsNotARefusedCard) {
    TMatchSummary Summary;
    for (const int32_t Last : {0, 99, 0}) {
        const int64_t Number = Summary.GamesCounted() + 1;
        TGameRecord Record = Game(Number, Number - 1, 0, SecondPlayerLost | ErrorOrPass);
        Record.Termination = TTermination::RefusedCard;
        Record.Moves = {1, Last};
        Summary.Add(Record, {0, 1}, {});
    }
    const std::array<std::string, 2> Names = ShownPlayerNames({"Человек", "Greedy"});
    EXPECT_EQ(GameRowText(Summary.Games()[0], Names)[3], "отказ от хода");
    EXPECT_EQ(GameRowText(Summary.Games()[1], Names)[3], "недопустимый ход");
    EXPECT_EQ(ResultsText(Summary, Names, {}, ",").Terminations.Rows,
              (std::vector<std::vector<std::string>>{{"недопустимый ход", "1", "0", "1"},
                                                     {"отказ от хода", "2", "0", "2"}}));
}

TEST(MatchSummary, PairsAreTheSameGameOfBothHalvesAndAStoppedSeriesCountsWhatWasPlayed) {
    // N = 4, stopped after 7 games. Player 1 sits first in the first half.
    TMatchSummary Summary;
    const std::array<int, 2> FirstHalf{0, 1}, SecondHalf{1, 0};
    Summary.Add(Game(1, 0, 0, SecondPlayerLost), FirstHalf, {});   // player 1 wins
    Summary.Add(Game(2, 1, 0, SecondPlayerLost), FirstHalf, {});   // wins
    Summary.Add(Game(3, 2, 0, FirstPlayerLost), FirstHalf, {});    // loses
    Summary.Add(Game(4, 3, 0, TurnLimitReached), FirstHalf, {});   // draws, its pair never completes
    Summary.Add(Game(5, 0, 1, SecondPlayerLost), SecondHalf, {});  // player 1 (seat 1) loses: pair 0 1-1
    Summary.Add(Game(6, 1, 1, TurnLimitReached), SecondHalf, {});  // draw: pair 1 1.5
    Summary.Add(Game(7, 2, 1, FirstPlayerLost), SecondHalf, {});   // player 1 wins: pair 2 1-1

    EXPECT_EQ(Summary.Pairs(), (TPentanomial{.LL = 0, .LD = 0, .WLDD = 2, .WD = 1, .WW = 0, .DD = 0}));
    EXPECT_FALSE(Summary.Deterministic());
    EXPECT_TRUE(Summary.Elo().Known);
    EXPECT_GT(Summary.Elo().Elo, 0);
    const TResultCounts &First = Summary.Players()[0].All;
    EXPECT_EQ(First, (TResultCounts{7, 3, 2, 2, First.Points}));
    EXPECT_EQ(Summary.Players()[0].AsSeat[1],
              (TResultCounts{3, 1, 1, 1, Summary.Players()[0].AsSeat[1].Points}));
    EXPECT_EQ(Summary.Games()[5].Winner, -1);

    const TResultsText View =
        ResultsText(Summary, {"A", "B"}, {.Series = true, .GamesPerHalf = 4, .Stopped = true}, ",");
    EXPECT_EQ(View.Headline, "Серия остановлена после 7 из 8 игр");
    EXPECT_EQ(View.Standings.Rows[0].back(), "57,1");
    EXPECT_NE(View.Elo.find("LOS"), std::string::npos) << View.Elo;
    EXPECT_NE(View.Elo.find("(пар игр: 3, из них различных: 3)"), std::string::npos) << View.Elo;
    EXPECT_EQ(View.Terminations.Rows[0], (std::vector<std::string>{"база разрушена", "5", "2", "3"}));
    EXPECT_EQ(View.Terminations.Rows[1], (std::vector<std::string>{"лимит ходов", "2", "—", "—"}));

    // Stopped inside the first half: no pair, so no Elo, and the view says why.
    TMatchSummary Early;
    Early.Add(Game(1, 0, 0, SecondPlayerLost), FirstHalf, {});
    EXPECT_FALSE(Early.Elo().Known);
    EXPECT_EQ(ResultsText(Early, {"A", "B"}, {true, 4, true}, ",")
                  .Elo.find("Разница Elo: нет ни одной полной пары"),
              0u);
}

TEST(GameList, SortsByAnyColumnFiltersAndCopiesAsTextForSpreadsheets) {
    std::vector<TGameRow> Rows{{1, 0, 0, TTermination::BaseDestroyed, 30, ""},
                               {2, 0, -1, TTermination::TurnLimit, 200, ""},
                               {3, 1, 1, TTermination::Crashed, 3, "раунд 3, GetTurn: сбой"},
                               {4, 1, 0, TTermination::BaseDestroyed, 12, ""}};
    using TOrder = std::vector<std::size_t>;
    EXPECT_EQ(OrderGames(Rows, {}, TGameColumn::Rounds, true), (TOrder{2, 3, 0, 1}));
    EXPECT_EQ(OrderGames(Rows, {}, TGameColumn::Result, true), (TOrder{0, 3, 2, 1}));  // draws last
    EXPECT_EQ(OrderGames(Rows, {}, TGameColumn::Result, false), (TOrder{1, 2, 0, 3}));
    EXPECT_EQ(OrderGames(Rows, {}, TGameColumn::Reason, false).front(), 2u);
    EXPECT_EQ(OrderGames(Rows, {.Winner = 0, .Ending = {}, .FirstPlayer = 1}, TGameColumn::Number, true),
              (TOrder{3}));
    EXPECT_EQ(OrderGames(Rows, {.Winner = -1, .Ending = {}, .FirstPlayer = {}}, TGameColumn::Number, true),
              (TOrder{1}));
    EXPECT_EQ(OrderGames(Rows, {.Winner = {}, .Ending = TTermination::BaseDestroyed, .FirstPlayer = {}},
                         TGameColumn::Rounds, false),
              (TOrder{0, 3}));

    const TTextRows Table{{"Бот", "Очки"}, {"A\tB", "1,5"}, {"C \"x\"; y", "2"}};
    EXPECT_EQ(TabSeparatedText(Table), "Бот\tОчки\nA B\t1,5\nC \"x\"; y\t2\n");
    EXPECT_EQ(CsvText(Table, CsvSeparator(",")), "Бот;Очки\r\nA\tB;1,5\r\n\"C \"\"x\"\"; y\";2\r\n");
    EXPECT_EQ(CsvText({{"1.5", "a,b"}}, CsvSeparator(".")), "1.5,\"a,b\"\r\n");
}

TEST(SummaryTexts, NumbersNamesAndTheProgressOfASeries) {
    EXPECT_EQ(FixedText(2.345, 1, ","), "2,3");
    EXPECT_EQ(FixedText(-0.04, 1, ","), "0,0");  // no minus before a zero
    EXPECT_EQ(FixedText(-12.5, 0, "."), "−12");
    EXPECT_EQ(FixedText(-1.0 / 0.0, 1, ","), "−∞");
    EXPECT_EQ(ShownPlayerNames({"Greedy", "Greedy"}),
              (std::array<std::string, 2>{"Greedy (игрок №1)", "Greedy (игрок №2)"}));
    EXPECT_EQ(ShownPlayerNames({"_HUMAN_", "Greedy"}), (std::array<std::string, 2>{"Человек", "Greedy"}));
    EXPECT_EQ(DurationText(3 * 3600 + 2 * 60 + 9.9), "3:02:09");
    EXPECT_EQ(DurationText(-5), "0:00");

    const TSeriesProgress Progress{
        .GamesPlayed = 50, .GamesTotal = 200, .FirstWins = 30, .SecondWins = 15, .Draws = 5};
    const TProgressText Text = SeriesProgressText(Progress, {"A", "B"}, 10.0, ",");
    EXPECT_EQ(Text.Games, "Сыграно 50 из 200 игр");
    EXPECT_EQ(Text.Score, "Счёт: A 30 — B 15, ничьих 5");
    EXPECT_EQ(Text.Speed, "Скорость: 5,00 игры в секунду");
    EXPECT_EQ(Text.Time, "Прошло 0:10, осталось около 0:30");
    EXPECT_EQ(Text.PerMille, 250);
    const TProgressText Starting = SeriesProgressText({0, 200, 0, 0, 0}, {"A", "B"}, 0.4, ",");
    EXPECT_EQ(Starting.Speed, "");
    EXPECT_EQ(Starting.Time, "Прошло 0:00");
    // A move is told only once it takes long; a hang's minutes count on.
    EXPECT_EQ(ThinkingText("A", 1.9), "");
    EXPECT_EQ(ThinkingText("A", 75.2), "Ходит A: думает уже 1:15");
}

}  // namespace
}  // namespace velkaran
