// A bot that crashes, throws or ends the program inside a call: the runner names it and exits 3.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

struct TCrash {
    const char *Bot;
    const char *What;  // part of the message
};

TEST(Crash, BotFaultEndsTheRunWithStatusThreeNamingBotSeatAndCall) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("cli_crashing_bot", "crashing.so");
    Folder.AddTestBot("cli_recursing_bot", "recursing.so");
    Folder.AddTestBot("cli_throwing_bot", "throwing.so");
    Folder.AddTestBot("cli_exiting_bot", "exiting.so");
    const TCrash Cases[] = {
        {"crashing.so", "in GetTurn as the second player, round 3 of game 1 (signal 11"},
        {"recursing.so", "in GetTurn as the second player, round 2 of game 1 (signal 11"},
        {"throwing.so",
         "(the test bot gives up) left the bot \"throwing.so\" (Misbehaving) in StartGame (choosing its "
         "cards) as the second player of game 1"},
        {"exiting.so", "in GetTurn as the second player, round 2 of game 1 ended the program"},
    };
    for (const TCrash &Case : Cases) {
        SCOPED_TRACE(Case.Bot);
        const TCliRun Run = Folder.Run({"greedy.so", Case.Bot});
        EXPECT_EQ(Run.Status, 3);
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(Run.Err, HasSubstr(std::string("the bot \"") + Case.Bot + "\" (Misbehaving)"));
        EXPECT_THAT(Run.Err, HasSubstr(Case.What));
    }
}

TEST(Crash, SeatAndGameFollowTheSeries) {
    MatchFolder Folder;
    Folder.AddSampleBot("passive.so");
    Folder.AddTestBot("cli_late_crashing_bot", "late.so");
    // Games 1 and 2 go the full 30 rounds; in game 3 the seats are exchanged.
    const TCliRun Run = Folder.Run({"--games", "2", "--turn-limit", "30", "late.so", "passive.so"});
    EXPECT_EQ(Run.Status, 3);
    EXPECT_EQ(Run.Out, "");
    EXPECT_THAT(
        Run.Err,
        HasSubstr("the bot \"late.so\" (Misbehaving) in GetTurn as the second player, round 3 of game 3"));
}

TEST(Crash, LibraryThatCrashesWhileLoadedIsNamed) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("cli_name_crashing_bot", "badname.so");
    for (const auto &Arguments : {std::vector<std::string>{"--list"}, {"greedy.so", "badname.so"}}) {
        const TCliRun Run = Folder.Run(Arguments);
        EXPECT_EQ(Run.Status, 3);
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(
            Run.Err,
            HasSubstr("crash in the library \"./badname.so\" while it was loaded or asked for its name"));
    }
}

TEST(Crash, WhatABotPrintsStaysOutOfTheResultText) {
    MatchFolder Folder;
    Folder.AddSampleBot("passive.so");
    Folder.AddTestBot("cli_chatty_bot", "chatty.so");
    const TCliRun Run = Folder.Run({"--games", "1", "chatty.so", "passive.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_TRUE(Run.Out.starts_with("Первый игрок : Chatty\n")) << Run.Out;
    EXPECT_EQ(Run.Out.find("chatter"), std::string::npos);
    EXPECT_THAT(Run.Err, HasSubstr("chatter: GetTurn round 1\n"));
}

}  // namespace
}  // namespace velkaran::testing
