// A series kept in the results folder reads back as it was played: the same results, the same log,
// and the list's line; removing it leaves nothing behind.
#include "summary/result_folder.h"
#include "summary/match_results.h"
#include "summary/results_text.h"

#include "match/match_runner.h"
#include "match/result_log.h"
#include "players/quiet_game_interface.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace velkaran {
namespace {

void StrikerStart(int32_t, TCardList *Set, const TTurnInfo *) {
    if (Set == nullptr) return;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) Set->Card[Entry] = Entry + 1;
    Set->Card[CardSetSize - 1] = 50;
}
int32_t StrikerTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}
void PasserStart(int32_t, TCardList *Set, const TTurnInfo *) {
    if (Set == nullptr) return;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) Set->Card[Entry] = 36 + Entry;
}
int32_t PasserTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; }

class TTemporaryFolder {
public:
    TTemporaryFolder() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-results-XXXXXX").string();
        Path = mkdtemp(Pattern.data()) != nullptr ? Pattern : std::string();
    }
    ~TTemporaryFolder() {
        std::error_code Ignored;
        if (!Path.empty()) std::filesystem::remove_all(Path, Ignored);
    }
    std::string Path;
};

TEST(ResultFolder, AStoppedSeriesIsKeptAndReadsBackAsItWasPlayed) {
    const TTemporaryFolder Temporary;
    ASSERT_FALSE(Temporary.Path.empty());
    const std::string Folder = Temporary.Path + "/results";  // made when the first series is kept

    // Striker against a passer, 3 + 3 games, stopped after the fifth: the second half has the
    // seats exchanged, and the document says it was not played to its end.
    QuietGameInterface Quiet;
    TMatchSettings Settings;
    Settings.First.Bot = TBot{true, "Striker", StrikerStart, StrikerTurn, "./striker.so"};
    Settings.Second.Bot = TBot{true, "Passer", PasserStart, PasserTurn, "./passer.so"};
    Settings.ModeItem = 1;
    Settings.GameCount = 3;
    std::atomic<int> Stop{0};
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.Stop = &Stop;
    std::string Error;
    std::filesystem::create_directories(Folder);
    const auto Journal = TRecordJournal::Open(Folder, Error);
    ASSERT_TRUE(Journal) << Error;
    TMatchSummary Played;
    Environment.OnGameEnd = [&](const TPlayedGame &Game) {
        Played.Add(*Game.Record, Game.PlayerOfSeat, {});
        Journal->Append(*Game.Record);
        if (Game.Number == 5) Stop = static_cast<int>(TStopRequest::AfterThisGame);
    };
    const TMatchOutcome Outcome = RunMatch(Settings, Environment);
    ASSERT_TRUE(Outcome.Stopped);

    const auto Kept = KeepMatchResult(Folder, Settings, *Journal, false, Outcome.Lines, 1'800'000'000, Error);
    ASSERT_TRUE(Kept) << Error;
    const auto Again =
        KeepMatchResult(Folder, Settings, *Journal, false, Outcome.Lines, 1'800'000'000, Error);
    ASSERT_TRUE(Again) << Error;
    EXPECT_NE(*Kept, *Again);  // a second series of the same second gets a name of its own
    EXPECT_EQ(KeptResults(Folder).size(), 2u);

    const auto Reopened = LoadMatchResults(*Kept, ",", Error);
    ASSERT_TRUE(Reopened) << Error;
    EXPECT_EQ(Reopened->Names, (std::array<std::string, 2>{"Striker", "Passer"}));
    EXPECT_EQ(Reopened->Summary.Games(), Played.Games());
    EXPECT_EQ(Reopened->Summary.Players()[1].AsSeat[0], Played.Players()[1].AsSeat[0]);
    ASSERT_EQ(Reopened->Archive->Count(), 5);
    std::string ReadError;
    EXPECT_EQ(Reopened->Archive->Read(4, ReadError)->Seats[0].Name, "Passer");
    const TResultsText Text = ResultsText(Reopened->Summary, Reopened->Names, Reopened->Scope, ",");
    EXPECT_EQ(Text.Headline, "Серия остановлена после 5 из 6 игр");
    EXPECT_EQ(Text.Standings.Rows, ResultsText(Played, Reopened->Names, {true, 3, true}, ",").Standings.Rows);
    EXPECT_EQ(ReadResultLog(ResultLogPath(*Kept)), Outcome.Lines);  // through Windows-1251 and back

    const TResultEntry Entry = DescribeResult(*Kept);
    EXPECT_EQ(Entry.Problem, "");
    EXPECT_EQ(ResultListRow(Entry, ",")[1], "серия (не доиграна)");
    EXPECT_EQ(ResultListRow(Entry, ",")[2], "Striker — Passer");
    EXPECT_EQ(ResultListRow(Entry, ",")[3], "5");
    EXPECT_EQ(ResultListRow(Entry, ",")[4], "5 : 0");

    ASSERT_TRUE(RemoveResult(*Kept, Error)) << Error;
    EXPECT_FALSE(std::filesystem::exists(ResultLogPath(*Kept)));
    EXPECT_EQ(KeptResults(Folder), std::vector<std::string>{*Again});

    // Not a match document: a clear reason, nothing else.
    std::filesystem::remove(*Again);
    std::filesystem::copy_file(ResultLogPath(*Again), *Again);
    EXPECT_FALSE(LoadMatchResults(*Again, ",", Error));
    EXPECT_FALSE(Error.empty());
    EXPECT_NE(DescribeResult(*Again).Problem, "");
}

TEST(ResultFolder, TheDefaultFolderIsUnderTheXdgDataHome) {
    EXPECT_EQ(DefaultResultsFolder("/data", "/home/u"), "/data/velkaran/results");
    EXPECT_EQ(DefaultResultsFolder("relative", "/home/u"), "/home/u/.local/share/velkaran/results");
    EXPECT_EQ(DefaultResultsFolder(nullptr, nullptr), "");
}

}  // namespace
}  // namespace velkaran
