// Bots that are programs, started through their manifests: the examples play as their plug-in twin
// does in a series and a tournament, and a program that breaks the line protocol loses its games as
// a crashing library does, the line it sent quoted.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>

#include <unistd.h>

namespace velkaran::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Copies the built files of an example (build/examples/Example) into the folder.
void AddExample(const MatchFolder &Folder, const std::string &Example,
                const std::vector<std::string> &Files) {
    for (const std::string &File : Files)
        fs::copy_file(fs::path(VELKARAN_EXAMPLES_DIR) / Example / File, Folder.Path / File);
}

std::string Replaced(std::string Text, const std::string &From, const std::string &To) {
    for (std::size_t At = 0; (At = Text.find(From, At)) != std::string::npos; At += To.size())
        Text.replace(At, From.size(), To);
    return Text;
}

// Per encounter of a tournament document: "a file - b file" -> wins, draws and points.
std::map<std::string, nlohmann::json> Encounters(const fs::path &Path) {
    std::ifstream In(Path);
    const nlohmann::json Document = nlohmann::json::parse(In);
    const nlohmann::json &Bots = Document["config"]["bots"];
    std::map<std::string, nlohmann::json> Result;
    for (const nlohmann::json &Encounter : Document["statistics"]["encounters"]) {
        const std::string A = Bots[Encounter["a"].get<std::size_t>()]["file"];
        const std::string B = Bots[Encounter["b"].get<std::size_t>()]["file"];
        Result[A + " - " + B] = {Encounter["wins_a"], Encounter["wins_b"], Encounter["draws"],
                                 Encounter["points_a"], Encounter["points_b"]};
    }
    return Result;
}

TEST(ProgramBots, ThePythonAndTheLineBotPlayASeriesAndATournamentAsTheirPluginTwin) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("planner.so");
    AddExample(Folder, "c-line-bot", {"greedy_line", "greedy-line.bot"});
    AddExample(Folder, "python-bot", {"greedy.py", "greedy-py.bot", "velkaran_bot.py"});

    const TCliRun List = Folder.Run({"--list"});
    EXPECT_THAT(List.Out, HasSubstr("greedy-line.bot  Greedy Line\ngreedy-py.bot    Greedy Py\n"));
    const TCliRun Plugin = Folder.Run({"--games", "3", "greedy.so", "planner.so"});
    ASSERT_EQ(Plugin.Status, 0) << Plugin.Err;
    for (const auto &[Manifest, Name] :
         {std::pair{"greedy-line.bot", "Greedy Line"}, {"greedy-py.bot", "Greedy Py"}}) {
        SCOPED_TRACE(Manifest);
        const TCliRun Program = Folder.Run({"--games", "3", Manifest, "planner.so"});
        EXPECT_EQ(Program.Status, 0) << Program.Err;
        EXPECT_TRUE(WithoutTimings(Replaced(Program.Out, Name, "Greedy")) == WithoutTimings(Plugin.Out))
            << Program.Out;
    }

    // One process plays both seats, as one library's worker does.
    const TCliRun Itself = Folder.Run({"--games", "2", "greedy-py.bot", "greedy-py.bot"});
    EXPECT_EQ(Itself.Status, 0) << Itself.Err;
    EXPECT_TRUE(WithoutTimings(Replaced(Itself.Out, "Greedy Py", "Greedy")) ==
                WithoutTimings(Folder.Run({"--games", "2", "greedy.so", "greedy.so"}).Out))
        << Itself.Out;

    const TCliRun Tournament =
        Folder.RunProgram(VELKARAN_TOURNAMENT_PATH,
                          {"--pairs", "2", "--concurrency", "2", "--turn-limit", "80", "--json", "t.json"});
    ASSERT_EQ(Tournament.Status, 0) << Tournament.Err;
    const std::map<std::string, nlohmann::json> Results = Encounters(Folder.Path / "t.json");
    ASSERT_EQ(Results.count("greedy.so - planner.so"), 1u);
    EXPECT_EQ(Results.at("greedy-line.bot - planner.so"), Results.at("greedy.so - planner.so"));
    EXPECT_EQ(Results.at("greedy-py.bot - planner.so"), Results.at("greedy.so - planner.so"));
    EXPECT_EQ(Results.at("greedy-line.bot - greedy-py.bot"), Results.at("greedy-line.bot - greedy.so"));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

struct TBrokenProgram {
    const char *Mode;    // the argument of the misbehaving program
    const char *Counts;  // the kind of fault, as the summary counts it
    const char *Detail;  // what the host saw
};

class BrokenProgram : public ::testing::TestWithParam<TBrokenProgram> {};

TEST_P(BrokenProgram, LosesEveryGameItBreaksAsACrashingLibraryDoes) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    fs::copy_file(VELKARAN_MISBEHAVING_LINE_BOT, Folder.Path / "misbehaving_line_bot");
    Folder.AddTextFile("bad.bot", std::string("command = ./misbehaving_line_bot ") + GetParam().Mode + "\n");
    const TCliRun Run =
        Folder.Run({"--games", "2", "bad.bot", "greedy.so"}, {"VELKARAN_TEST_CALL_DEADLINE_MS=1000"});
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Misbehaving : количество побед 0\nGreedy : количество побед 4\n"));
    EXPECT_THAT(
        Run.Err,
        HasSubstr("velkaran-match: the bot \"bad.bot\" (Misbehaving) faulted, broke a rule or "
                  "lost by the time limit in 4 of 4 games (" +
                  std::string(GetParam().Counts) +
                  ": 4); first: GetTurn as the first player, round 3 of game 1: " + GetParam().Detail));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    ProgramBots, BrokenProgram,
    ::testing::Values(
        TBrokenProgram{"garbage", "broke the protocol",
                       "answered \"I \\x01resign\\x09now\" to \"turn\": expected \"play CARD\""},
        TBrokenProgram{"late", "hung", "no answer within 1000 ms"},
        TBrokenProgram{"exit", "crashed", "exited with status 7"},
        TBrokenProgram{"close", "broke the protocol", "closed its standard output"}),
    [](const ::testing::TestParamInfo<TBrokenProgram> &Info) { return std::string(Info.param.Mode); });

TEST(ProgramBots, UnderTheSandboxTheExamplesPlayAsTheyDoFreeAndAProgramIsRefusedWhatItMayNotDo) {
    MatchFolder Folder;
    const std::string Layers = Folder.Run({"--sandbox-check"}).Out;
    if (Layers.find("System-call filter (seccomp): active") == std::string::npos ||
        Layers.find("Landlock: active") == std::string::npos)
        GTEST_SKIP() << "this kernel lacks seccomp or Landlock:\n" << Layers;
    Folder.AddSampleBot("planner.so");
    AddExample(Folder, "c-line-bot", {"greedy_line", "greedy-line.bot"});
    AddExample(Folder, "python-bot", {"greedy.py", "greedy-py.bot", "velkaran_bot.py"});
    fs::copy_file(VELKARAN_MISBEHAVING_LINE_BOT, Folder.Path / "misbehaving_line_bot");
    Folder.AddTextFile("socket.bot", "command = ./misbehaving_line_bot socket\n");
    Folder.AddTextFile("peek.bot", "command = ./misbehaving_line_bot peek\n");
    // Run as root, the sandbox runs bots as a user of their own, who must be able to reach them.
    using std::filesystem::perms;
    for (const fs::path &Reached : {Folder.Path.parent_path(), Folder.Path})
        fs::permissions(Reached, perms::owner_all | perms::group_read | perms::group_exec |
                                     perms::others_read | perms::others_exec);
    // The system's interpreter: a PATH may hold a user's shims that the sandbox's user cannot run.
    const std::vector<std::string> SystemPath = {"PATH=/usr/bin:/bin"};
    for (const char *Manifest : {"greedy-line.bot", "greedy-py.bot"}) {
        SCOPED_TRACE(Manifest);
        const TCliRun Free = Folder.Run({"--games", "2", Manifest, "planner.so"}, SystemPath);
        const TCliRun Locked = Folder.Run({"--sandbox", "--games", "2", Manifest, "planner.so"}, SystemPath);
        EXPECT_EQ(Locked.Status, 0) << Locked.Err;
        EXPECT_TRUE(WithoutTimings(Locked.Out) == WithoutTimings(Free.Out)) << Locked.Err;
    }

    // Free, the program reads and writes what it likes; locked, it is told no and plays on.
    const TCliRun Peeking = Folder.Run({"--games", "1", "peek.bot", "planner.so"});
    EXPECT_THAT(Peeking.Out, HasSubstr("Misbehaving : количество ошибок 2\n"));
    fs::remove(Folder.Path / "escaped");
    const TCliRun Peeked = Folder.Run({"--sandbox", "--games", "1", "peek.bot", "planner.so"});
    EXPECT_EQ(Peeked.Status, 0) << Peeked.Err;
    EXPECT_THAT(Peeked.Out, HasSubstr("Misbehaving : количество ошибок 0\n"));
    EXPECT_FALSE(fs::exists(Folder.Path / "escaped"));
    // A refused system call ends the program; the host plays the series out.
    const TCliRun Refused = Folder.Run({"--sandbox", "--games", "1", "socket.bot", "planner.so"});
    EXPECT_EQ(Refused.Status, 0) << Refused.Err;
    EXPECT_THAT(Refused.Out, HasSubstr("Misbehaving : количество ошибок 2\n"));
    EXPECT_THAT(Refused.Err, HasSubstr("(crashed: 2); first: GetTurn as the first player, round 3 of game 1: "
                                       "killed by SIGSYS"));

    // An interpreter found on PATH that the sandbox's user cannot run is named, with what to do.
    if (geteuid() == 0) {
        const fs::path Private = Folder.Path / "private";
        fs::create_directory(Private);
        fs::permissions(Private, perms::owner_all);
        std::ofstream(Private / "python3") << "#!/bin/sh\nexec /usr/bin/python3 \"$@\"\n";
        fs::permissions(Private / "python3", perms::owner_all);
        const TCliRun Shim = Folder.Run({"--sandbox", "greedy-py.bot", "planner.so"},
                                        {"PATH=" + Private.string() + ":/usr/bin"});
        EXPECT_EQ(Shim.Status, 2);
        EXPECT_THAT(Shim.Err, HasSubstr("cannot use bot \"greedy-py.bot\": the sandbox could not be entered: "
                                        "the sandbox's user (uid "));
        EXPECT_THAT(Shim.Err, HasSubstr("cannot run " + (Private / "python3").string() +
                                        " (Permission denied); name a program it can run"));
    }
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(ProgramBots, ABrokenManifestIsUnusableWithItsReason) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    AddExample(Folder, "c-line-bot", {"greedy_line", "greedy-line.bot"});
    Folder.AddTextFile("typo.bot", "comand = ./greedy_line\n");
    Folder.AddTextFile("missing.bot", "command = ./no_such_program\n");
    const TCliRun List = Folder.Run({"--list"});
    EXPECT_THAT(List.Out, HasSubstr("missing.bot      unusable: the program \"./no_such_program\" is not an "
                                    "executable file in " +
                                    Folder.Path.string()));
    EXPECT_THAT(List.Out, HasSubstr("typo.bot         unusable: line 1: unknown key \"comand\""));

    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

}  // namespace
}  // namespace velkaran::testing
