// velkaran-match refuses bad arguments and unusable bots before any game, with exit status 2.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

struct TUnusableBot {
    const char *Argument;
    const char *Why;  // part of the message
};

TEST(Arguments, UnusableBotStopsBeforeAnyGameNamingTheFileAndWhy) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTextFile("broken.so");
    Folder.AddFolder("d.so");
    Folder.AddTestBot("turnless_bot", "noturn.so");
    Folder.AddTestBot("cyrillic_name_bot", "cyrillic.so");
    const TUnusableBot Cases[] = {
        {"missing.so", "cannot be read: ./missing.so: No such file or directory"},
        {"broken.so", "not a loadable library"},
        {"d.so", "cannot be read: ./d.so: a directory"},
        {"noturn.so", "missing export \"GetTurn\""},
        {"cyrillic.so", "refused"},
        // A bare name means the current folder, never the system's library paths.
        {"libc.so.6", "./libc.so.6"},
    };
    for (const TUnusableBot &Case : Cases) {
        SCOPED_TRACE(Case.Argument);
        for (const bool First : {true, false}) {
            const TCliRun Run =
                First ? Folder.Run({Case.Argument, "greedy.so"}) : Folder.Run({"greedy.so", Case.Argument});
            EXPECT_EQ(Run.Status, 2);
            EXPECT_EQ(Run.Out, "");
            EXPECT_THAT(Run.Err, HasSubstr(std::string("\"") + Case.Argument + "\""));
            EXPECT_THAT(Run.Err, HasSubstr(Case.Why));
        }
    }
}

TEST(Arguments, PathWithSlashIsUsedAsGiven) {
    MatchFolder Folder;
    const std::string Greedy = (std::filesystem::path(VELKARAN_SAMPLE_BOTS_DIR) / "greedy.so").string();
    const TCliRun Run = Folder.Run({Greedy, Greedy});
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Первый игрок : Greedy\n"));
}

TEST(Arguments, TurnLimitOutsideThirtyToFiftyThousandIsRefused) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    for (const char *Limit : {"29", "50001", "-1", "abc", "99999999999"}) {
        SCOPED_TRACE(Limit);
        const TCliRun Run = Folder.Run({"--turn-limit", Limit, "greedy.so", "greedy.so"});
        EXPECT_EQ(Run.Status, 2);
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(Run.Err, HasSubstr("--turn-limit"));
    }
    for (const char *Limit : {"30", "50000"}) {
        SCOPED_TRACE(Limit);
        EXPECT_EQ(Folder.Run({"--turn-limit", Limit, "greedy.so", "greedy.so"}).Status, 0);
    }
}

TEST(Arguments, MalformedCommandLinesAreRefused) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    const std::vector<std::vector<std::string>> Cases = {
        {},
        {"greedy.so"},
        {"greedy.so", "greedy.so", "greedy.so"},
        {"--games", "x", "greedy.so", "greedy.so"},
        {"--list", "greedy.so"},
        {"--frobnicate", "greedy.so", "greedy.so"},
        {"--bot-memory", "0", "greedy.so", "greedy.so"},
        {"--bot-output", "no-such-folder", "greedy.so", "greedy.so"},
        {"--in-process", "--sandbox", "greedy.so", "greedy.so"},
        {"--sandbox-check", "greedy.so"},
        {"--sandbox=sometimes", "greedy.so", "greedy.so"},
        {"--sandbox-user", "nobody", "greedy.so", "greedy.so"},
    };
    for (const auto &Arguments : Cases) {
        const TCliRun Run = Folder.Run(Arguments);
        EXPECT_EQ(Run.Status, 2) << ::testing::PrintToString(Arguments);
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(Run.Err, HasSubstr("velkaran-match: "));
    }
}

TEST(Arguments, HelpAndVersion) {
    MatchFolder Folder;
    const TCliRun Version = Folder.Run({"--version"});
    EXPECT_EQ(Version.Status, 0);
    EXPECT_EQ(Version.Out, "Velkaran 2 build 2060 RC2\n");
    const TCliRun Help = Folder.Run({"--help"});
    EXPECT_EQ(Help.Status, 0);
    for (const char *Option :
         {"--games", "--turn-limit", "--log", "--list", "--in-process", "--stop-on-fault", "--bot-output",
          "--bot-memory", "--sandbox", "FIRST", "SECOND", "Exit status"})
        EXPECT_THAT(Help.Out, HasSubstr(Option));
}

}  // namespace
}  // namespace velkaran::testing
