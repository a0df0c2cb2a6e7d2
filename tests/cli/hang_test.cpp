// A bot that never returns from a call: the watchdog names it and the run ends with status 3.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

TEST(Hang, BotStuckInGetTurnEndsTheRunWithStatusThreeNamingBotSeatAndCall) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("cli_hanging_bot", "hanging.so");
    const auto Start = std::chrono::steady_clock::now();
    const TCliRun Run = Folder.Run({"--hang-limit", "1", "--games", "3", "greedy.so", "hanging.so"});
    const auto Took = std::chrono::steady_clock::now() - Start;
    EXPECT_EQ(Run.Status, 3);
    EXPECT_EQ(Run.Out, "");
    EXPECT_THAT(Run.Err,
                HasSubstr("velkaran-match: hang in the bot \"hanging.so\" (Misbehaving) in GetTurn as "
                          "the second player, round 2 of game 1 (no return within 1 s, the hang "
                          "limit); no result was written\n"));
    // Generous for a loaded machine; without the watchdog the run would never end.
    EXPECT_LT(Took, std::chrono::seconds(30));
}

TEST(Hang, LibraryStuckWhileLoadedIsNamed) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("cli_name_hanging_bot", "stuck.so");
    for (const auto &Arguments : {std::vector<std::string>{"--hang-limit", "1", "--list"},
                                  {"--hang-limit", "1", "greedy.so", "stuck.so"}}) {
        const TCliRun Run = Folder.Run(Arguments);
        EXPECT_EQ(Run.Status, 3);
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(Run.Err,
                    HasSubstr("hang in the library \"./stuck.so\" while it was loaded or asked for its "
                              "name (no return within 1 s"));
    }
}

}  // namespace
}  // namespace velkaran::testing
