// velkaran-check run as an author runs it: a good bot passes, and a bot with one defect fails the
// check that names it.
#include "../cli/cli_run.h"

#include "records/record_json.h"
#include "records/record_replay.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <optional>

namespace velkaran::testing {
namespace {

// The verdict of Check in a --json report, or "missing".
std::string Verdict(const nlohmann::json &Report, const std::string &Check) {
    for (const nlohmann::json &Item : Report.at("checks"))
        if (Item.at("check") == Check) return Item.at("verdict");
    return "missing";
}

TEST(Check, AGoodBotPassesEveryCheck) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so", "mine.so");
    const TCliRun Run = Folder.RunProgram(VELKARAN_CHECK_PATH, {"--json", "--positions", "500", "mine.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Out << Run.Err;
    const nlohmann::json Report = nlohmann::json::parse(Run.Out);
    for (const nlohmann::json &Item : Report.at("checks"))
        EXPECT_EQ(Item.at("verdict"), "pass") << Item.dump();
    EXPECT_EQ(Report.at("name"), "Greedy");
    EXPECT_TRUE(Folder.ProcessesLeft().empty());
}

TEST(Check, EachDefectFailsTheCheckThatNamesIt) {
    struct TCase {
        std::string Bot;
        bool PlayersBot;  // a bot of the players area, else a misbehaving bot of the bots area
        std::string Check;
        std::string Evidence;  // a part of the failing check's evidence or summary
        std::vector<std::string> Options = {};
    };
    const TCase Cases[] = {
        {"no_get_turn_bot", true, "exports", "GetTurn"},
        {"cyrillic_bot", true, "name", ""},
        {"invalid_set_bot", true, "card set", "card 36 twice in the set"},
        {"refusing_bot", true, "legal answers",
         "answered 0, refused: it answered 0 (no card) while it could pay for 11 cards"},
        {"crashing_bot", false, "crashes and hangs", "SIGSEGV"},
        {"looping_bot", false, "crashes and hangs", "hung", {"--move-limit", "100"}},
        {"deliberate_bot",
         false,
         "thinking time",
         "a move took longer than the limit",
         {"--move-limit", "1"}},
    };
    for (const TCase &Case : Cases) {
        MatchFolder Folder;
        if (Case.PlayersBot)
            Folder.AddPlayersTestBot(Case.Bot, "bot.so");
        else
            Folder.AddTestBot(Case.Bot, "bot.so");
        std::vector<std::string> Arguments = Case.Options;
        Arguments.insert(Arguments.end(), {"--json", "--positions", "300", "bot.so"});
        const TCliRun Run = Folder.RunProgram(VELKARAN_CHECK_PATH, Arguments);
        EXPECT_EQ(Run.Status, 1) << Case.Bot << "\n" << Run.Out << Run.Err;
        const nlohmann::json Report = nlohmann::json::parse(Run.Out, nullptr, false);
        ASSERT_FALSE(Report.is_discarded()) << Case.Bot << ": " << Run.Out;
        EXPECT_EQ(Verdict(Report, Case.Check), "fail") << Case.Bot << "\n" << Report.dump(2);
        EXPECT_NE(Report.dump().find(Case.Evidence), std::string::npos) << Case.Bot << "\n" << Report.dump(2);
        EXPECT_TRUE(Folder.ProcessesLeft().empty()) << Case.Bot;
    }
}

TEST(Check, TheFirstIllegalAnswerIsSavedAsARecordThatReplays) {
    MatchFolder Folder;
    Folder.AddPlayersTestBot("refusing_bot", "bot.so");
    const TCliRun Run = Folder.RunProgram(VELKARAN_CHECK_PATH, {"--positions", "10", "bot.so"});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_NE(Run.Out.find("FAIL  legal answers"), std::string::npos) << Run.Out;
    const std::filesystem::path Saved = Folder.Path / "bot.so.illegal.json";
    ASSERT_TRUE(std::filesystem::exists(Saved)) << Run.Out;
    // The desktop program's replay viewer reads and replays a record with these same functions.
    std::ifstream File(Saved);
    std::string Error;
    const std::optional<TGameRecord> Record = RecordFromJson(nlohmann::json::parse(File), Error);
    ASSERT_TRUE(Record) << Error;
    EXPECT_EQ(Record->Termination, TTermination::RefusedCard);
    EXPECT_EQ(CheckReplay(*Record), "");
}

}  // namespace
}  // namespace velkaran::testing
