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

TEST(ProgramBots, ABrokenManifestIsUnusableWithItsReasonAndTheSandboxIsNeverSkipped) {
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

    // The sandbox does not confine a program yet: it is refused, never run unconfined.
    const TCliRun Sandboxed = Folder.Run({"--sandbox", "greedy-line.bot", "greedy.so"});
    EXPECT_EQ(Sandboxed.Status, 2);
    EXPECT_THAT(Sandboxed.Err,
                HasSubstr("cannot use bot \"greedy-line.bot\": a bot that is a program does not "
                          "run under --sandbox yet"));

    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

}  // namespace
}  // namespace velkaran::testing
