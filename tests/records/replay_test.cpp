// A record replays through the rules to the state it recorded, survives its JSON form unchanged,
// and a record that was tampered with is caught.
#include "random_games.h"

#include "records/record_json.h"
#include "records/record_replay.h"
#include "rules/random_start_positions.h"

#include <gtest/gtest.h>

#include <set>

namespace velkaran::testing {
namespace {

TEST(Records, EveryKindOfGameReplaysAndRoundTripsThroughJson) {
    std::set<TTermination> Seen;
    for (uint32_t Seed = 0; Seed < 400; ++Seed) {
        SCOPED_TRACE(Seed);
        // Every other game from a start position of its own.
        const TStartPosition Start = Seed % 2 == 0 ? StandardStartPosition() : RandomStartPosition(5, Seed);
        const TGameRecord Record = RandomGameRecord(Seed, Seed % 3 == 0 ? 30 : 200, Start);
        ASSERT_EQ(Record.Start, Start);
        Seen.insert(Record.Termination);
        EXPECT_EQ(CheckReplay(Record), "");
        const nlohmann::json Json = RecordToJson(Record);
        // Only a game from elsewhere says where it began: a standard record is as it always was.
        EXPECT_EQ(Json.contains("start"), Seed % 2 == 1);
        std::string Error;
        const auto Back = RecordFromJson(nlohmann::json::parse(Json.dump()), Error);
        ASSERT_TRUE(Back) << Error;
        EXPECT_TRUE(*Back == Record);
    }
    EXPECT_EQ(Seen, (std::set<TTermination>{TTermination::BaseDestroyed, TTermination::TurnLimit,
                                            TTermination::RefusedCard, TTermination::Crashed}));
}

TEST(Records, ATamperedRecordDoesNotReplay) {
    const TGameRecord Record = RandomGameRecord(1);
    ASSERT_GT(Record.Moves.size(), 6u);
    TGameRecord Moved = Record;
    Moved.Moves[4] = Moved.Moves[4] == 50 ? 49 : 50;
    EXPECT_NE(CheckReplay(Moved), "");
    TGameRecord Shortened = Record;
    Shortened.Moves.pop_back();
    Shortened.Moves.pop_back();
    EXPECT_NE(CheckReplay(Shortened), "");
    TGameRecord BadSet = Record;
    BadSet.Seats[1].Set.Card[0] = BadSet.Seats[1].Set.Card[1];
    EXPECT_NE(CheckReplay(BadSet), "");
    // A game from a start position does not replay from another one.
    TGameRecord Elsewhere = RandomGameRecord(1, 60, RandomStartPosition(5, 1));
    ASSERT_EQ(CheckReplay(Elsewhere), "");
    Elsewhere.Start = StandardStartPosition();
    EXPECT_NE(CheckReplay(Elsewhere), "");
}

TEST(Records, DamagedJsonIsRefusedWithTheField) {
    const nlohmann::json Good = RecordToJson(RandomGameRecord(2));
    const auto Refused = [&Good](const char *Field, const nlohmann::json &Value) {
        nlohmann::json Bad = Good;
        Bad[Field] = Value;
        std::string Error;
        EXPECT_FALSE(RecordFromJson(Bad, Error)) << Field;
        return Error;
    };
    EXPECT_NE(Refused("rounds", -1).find("\"rounds\""), std::string::npos);
    EXPECT_NE(Refused("result", 4294967296LL).find("\"result\""), std::string::npos);
    EXPECT_NE(Refused("termination", "won on points").find("\"termination\""), std::string::npos);
    EXPECT_NE(Refused("moves", "none").find("\"moves\""), std::string::npos);
    EXPECT_NE(Refused("seats", nlohmann::json::array()).find("\"seats\""), std::string::npos);
    const nlohmann::json Destroyed =
        nlohmann::json::array({{0, 15, 3, 2, 2, 15, 15, 15}, {40, 15, 3, 2, 2, 15, 15, 15}});
    EXPECT_NE(Refused("start", Destroyed).find("the first side's base is 0"), std::string::npos);
}

TEST(Records, FilesWrittenBeforeTheStoredNamesStillRead) {
    const TGameRecord Faulted = RandomGameRecord(7);  // seat 1 crashes in a GetTurn
    ASSERT_EQ(Faulted.Faults.size(), 1u);
    nlohmann::json Old = RecordToJson(Faulted);
    Old["termination"] = "crashed";
    Old["faults"][0]["call"] = "GetTurn";
    Old["faults"][0]["fault"] = "broke the protocol";
    std::string Error;
    auto Back = RecordFromJson(Old, Error);
    ASSERT_TRUE(Back) << Error;
    EXPECT_EQ(Back->Faults[0].Call, TSeatCall::GetTurn);
    EXPECT_EQ(Back->Faults[0].Fault, TCallFault::Protocol);

    uint32_t Seed = 0;
    while (RandomGameRecord(Seed, 30).Termination != TTermination::TurnLimit) ++Seed;
    const TGameRecord Drawn = RandomGameRecord(Seed, 30);
    Old = RecordToJson(Drawn);
    EXPECT_EQ(Old["termination"], "turn_limit");
    Old["termination"] = "turn limit";
    Back = RecordFromJson(Old, Error);
    ASSERT_TRUE(Back) << Error;
    EXPECT_TRUE(*Back == Drawn);
}

}  // namespace
}  // namespace velkaran::testing
