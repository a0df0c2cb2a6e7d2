// The tournament view's tables and game list, from games counted as the tournament counts them.
#include "summary/tournament_summary.h"
#include "summary/tournament_setup.h"

#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

// A game of pair Pair and leg Leg between A (a.so) and B (b.so) that seat Winner won (-1: a draw).
TGameRecord Game(int64_t Pair, int32_t Leg, int32_t Winner) {
    TGameRecord Record;
    Record.Place = {2 * Pair + Leg + 1, 0, Pair, Leg};
    Record.Seats[0] = {.File = Leg == 0 ? "a.so" : "b.so", .Name = Leg == 0 ? "A" : "B"};
    Record.Seats[1] = {.File = Leg == 0 ? "b.so" : "a.so", .Name = Leg == 0 ? "B" : "A"};
    Record.Result = Winner == 0 ? SecondPlayerLost : Winner == 1 ? FirstPlayerLost : TurnLimitReached;
    Record.Termination = Winner < 0 ? TTermination::TurnLimit : TTermination::BaseDestroyed;
    Record.Rounds = static_cast<int32_t>(10 + Record.Place.Number);
    Record.Moves = {50, 50};
    return Record;
}

TEST(TournamentSummary, TablesHalfPointsWithTheLocalesSeparatorAndTheListSortsAndFilters) {
    TTournamentConfig Config;
    Config.Bots = {{"a.so", "A", ""}, {"b.so", "B", ""}};
    Config.Pairs = 2;
    auto Results = std::make_shared<TTournamentResults>(Config);
    std::vector<TTournamentGameRow> Rows;
    std::string Error;
    // A wins games 1 and 2 (seat 0, then seat 1), draws game 3, loses game 4: 2.5 of 4.
    for (const TGameRecord &Record : {Game(0, 0, 0), Game(0, 1, 1), Game(1, 0, -1), Game(1, 1, 0)}) {
        ASSERT_TRUE(Results->Add(Record, Error)) << Error;
        Rows.push_back(TournamentGameRow(Record, Results->Schedule()));
    }
    const auto Summary = SummarizeTournament(Results, Rows, nullptr, true, ",");
    const TTournamentText Text = TournamentText(*Summary);
    EXPECT_EQ(Text.Headline, "Круговой турнир: 2 бота, 2 пары игр на встречу; сыграно 4 из 4 игр");
    ASSERT_EQ(Text.Standings.Rows.size(), 2u);
    EXPECT_EQ(Text.Standings.Rows[0][1], "A");
    EXPECT_EQ(Text.Standings.Rows[0][7], "62,5");
    ASSERT_EQ(Text.Crosstable.Rows.size(), 2u);
    EXPECT_EQ(Text.Crosstable.Rows[0], (std::vector<std::string>{"A", "·", "2,5/4"}));
    EXPECT_EQ(Text.Crosstable.Rows[1], (std::vector<std::string>{"B", "1,5/4", "·"}));
    EXPECT_EQ(Text.Endings.Header.back(), "ничьи");
    EXPECT_EQ(Text.Endings.Rows[1].back(), "1");

    // Game 4 was won by B moving second; the result column puts A's wins, then B's, then the draw.
    EXPECT_EQ(TournamentGameRowText(Rows[3], Summary->Names)[3], "победа B");
    EXPECT_EQ(OrderTournamentGames(Rows, {}, TTournamentGameColumn::Result, true, Summary->Names),
              (std::vector<std::size_t>{0, 1, 3, 2}));
    EXPECT_EQ(OrderTournamentGames(Rows, {.Bot = {}, .Winner = 1, .Ending = {}},
                                   TTournamentGameColumn::Rounds, false, Summary->Names),
              (std::vector<std::size_t>{3}));
    EXPECT_EQ(OrderTournamentGames(Rows, {.Bot = {}, .Winner = {}, .Ending = TTermination::TurnLimit},
                                   TTournamentGameColumn::Number, true, Summary->Names),
              (std::vector<std::size_t>{2}));
}

// The dialog's choice becomes a configuration of the ticked bots alone, the gauntlet bot found
// among them; a choice that cannot be played says why.
TEST(TournamentSetup, TheTickedBotsPlayAndTheGauntletBotIsFoundAmongThem) {
    TTournamentChoice Choice;
    Choice.Bots = {{"a.so", "A", ""}, {"b.so", "B", ""}, {"c.so", "C", ""}, {"d.so", "D", ""}};
    Choice.Chosen = {false, true, false, true};
    Choice.Gauntlet = true;
    Choice.GauntletBot = 3;
    Choice.StartPositions = 4;
    std::string Error;
    const std::optional<TTournamentConfig> Config = ChosenTournament(Choice, Error);
    ASSERT_TRUE(Config) << Error;
    ASSERT_EQ(Config->Bots.size(), 2u);
    EXPECT_EQ(Config->Bots[Config->Gauntlet].File, "d.so");
    EXPECT_EQ(Config->Openings.Size(), 4);
    Choice.GauntletBot = 0;  // not ticked
    EXPECT_FALSE(ChosenTournament(Choice, Error));
    EXPECT_FALSE(Error.empty());
    Choice.Gauntlet = false;
    Choice.Chosen = {false, false, false, true};
    EXPECT_EQ(TournamentChoiceProblem(Choice), "Отметьте хотя бы двух ботов.");
}

}  // namespace
}  // namespace velkaran::testing
