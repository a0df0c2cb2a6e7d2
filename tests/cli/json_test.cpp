// --json FILE holds every game's record, each of which replays through the rules; the result text
// stays as it is.
#include "cli_run.h"

#include "records/record_journal.h"
#include "records/record_json.h"
#include "records/record_replay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

TEST(Json, HoldsEveryGameOfTheSeriesAndEachReplays) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("planner.so");
    const TCliRun Plain = Folder.Run({"--games", "3", "greedy.so", "planner.so"});
    const TCliRun Run = Folder.Run({"--games", "3", "--json", "games.json", "greedy.so", "planner.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(WithoutTimings(Run.Out), WithoutTimings(Plain.Out));

    nlohmann::json Rest;
    std::vector<TGameRecord> Games;
    std::string Error;
    ASSERT_TRUE(ReadDocument((Folder.Path / "games.json").string(), Rest,
                             [&Games](const nlohmann::json &Json, std::string &Why) {
                                 auto Record = RecordFromJson(Json, Why);
                                 if (Record) Games.push_back(*Record);
                                 return Record.has_value();
                             },
                             Error))
        << Error;
    EXPECT_EQ(Rest["format"], "velkaran-match");
    EXPECT_EQ(Rest["complete"], true);
    ASSERT_EQ(Games.size(), 6u);
    for (std::size_t I = 0; I < Games.size(); ++I) {
        EXPECT_EQ(Games[I].Place.Number, static_cast<int64_t>(I + 1));
        EXPECT_EQ(Games[I].Seats[0].File, I < 3 ? "greedy.so" : "planner.so");
        EXPECT_EQ(CheckReplay(Games[I]), "");
    }
}

}  // namespace
}  // namespace velkaran::testing
