// velkaran-tournament end to end: a round robin with misbehaving bots counts as series do, Ctrl-C
// and --resume end where an uninterrupted run ends, an SPRT stops early, a file that is not a saved
// tournament or holds a record that does not replay or belong is refused and left alone, a merge
// says what is missing and exits 3, and bots are told apart by their files.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

nlohmann::json ReadJson(const std::filesystem::path &Path) {
    std::ifstream In(Path);
    return nlohmann::json::parse(In);
}

std::string ReadText(const std::filesystem::path &Path) {
    std::ostringstream Text;
    Text << std::ifstream(Path, std::ios::binary).rdbuf();
    return Text.str();
}

// The number after "<Name> : <What> " in a series text.
int64_t SeriesCount(const std::string &Text, const std::string &Line) {
    const std::size_t At = Text.find(Line);
    EXPECT_NE(At, std::string::npos) << Line;
    return At == std::string::npos ? -1 : std::stoll(Text.substr(At + Line.size()));
}

// The points of Name in a series text: "<Name> : <points> очков".
int64_t SeriesPoints(const std::string &Text, const std::string &Name) {
    for (const std::string &Line : Lines(Text))
        if (Line.starts_with(Name + " : ") && Line.ends_with(" очков"))
            return std::stoll(Line.substr(Name.size() + 3));
    ADD_FAILURE() << "no points of " << Name;
    return -1;
}

// The games of a document by number, without what depends on time.
std::map<int64_t, nlohmann::json> Games(const nlohmann::json &Document) {
    std::map<int64_t, nlohmann::json> Result;
    for (nlohmann::json Game : Document["games"]) {
        for (nlohmann::json &Seat : Game["seats"]) Seat.erase("time_ms"), Seat.erase("longest_move_ms");
        Result[Game["number"].get<int64_t>()] = Game;
    }
    return Result;
}

TEST(Tournament, RoundRobinWithMisbehavingBotsCountsEachEncounterAsASeries) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddTestBot("crashing_bot", "crashing.so");
    Folder.AddPlayersTestBot("refusing_bot", "refusing.so");
    const TCliRun Run =
        Folder.RunProgram(VELKARAN_TOURNAMENT_PATH,
                          {"--pairs", "3", "--concurrency", "2", "--turn-limit", "60", "--json", "t.json"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out,
                HasSubstr("Round robin of 4 bots, 3 game pairs per encounter: 36 of 36 games played\n"));
    const nlohmann::json Document = ReadJson(Folder.Path / "t.json");
    EXPECT_EQ(Document["games"].size(), 36u);
    EXPECT_EQ(Document["complete"], true);
    const nlohmann::json &Bots = Document["config"]["bots"];
    for (const nlohmann::json &Encounter : Document["statistics"]["encounters"]) {
        const std::string A = Bots[Encounter["a"].get<std::size_t>()]["file"];
        const std::string B = Bots[Encounter["b"].get<std::size_t>()]["file"];
        SCOPED_TRACE(A + " - " + B);
        const TCliRun Series = Folder.Run({"--games", "3", "--turn-limit", "60", A, B});
        const std::string NameA = Bots[Encounter["a"].get<std::size_t>()]["name"];
        const std::string NameB = Bots[Encounter["b"].get<std::size_t>()]["name"];
        EXPECT_EQ(Encounter["wins_a"], SeriesCount(Series.Out, NameA + " : количество побед "));
        EXPECT_EQ(Encounter["wins_b"], SeriesCount(Series.Out, "\n" + NameB + " : количество побед "));
        EXPECT_EQ(Encounter["draws"], SeriesCount(Series.Out, "Количество ничей "));
        EXPECT_EQ(Encounter["errors_a"], SeriesCount(Series.Out, NameA + " : количество ошибок "));
        EXPECT_EQ(Encounter["points_a"], SeriesPoints(Series.Out, NameA));
        EXPECT_EQ(Encounter["points_b"], SeriesPoints(Series.Out, NameB));
    }
    // The faults, by kind: the crashing bot crashes in every game that reaches round 3.
    for (const nlohmann::json &Standing : Document["statistics"]["standings"]) {
        const std::string File = Bots[Standing["bot"].get<std::size_t>()]["file"];
        if (File == "crashing.so") {
            EXPECT_EQ(Standing["lost_by"], (nlohmann::json{{"crashed", 12}}));  // the refuser loses first
        }
        if (File == "refusing.so") {
            EXPECT_TRUE(Standing["lost_by"].contains("refused_card"));
        }
    }
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Tournament, InterruptedAndResumedEndsAsAnUninterruptedRun) {
    // A bot that takes 2 ms for every move makes the tournament last about as long in every build.
    // The pairs start from start positions, which the saved tournament keeps.
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddTestBot("deliberate_bot", "deliberate.so");
    const std::vector<std::string> Options{"--pairs", "10",         "--turn-limit", "30",     "--concurrency",
                                           "2",       "--openings", "random:7",     "--seed", "3"};
    const auto With = [&Options](std::vector<std::string> More) {
        More.insert(More.begin(), Options.begin(), Options.end());
        return More;
    };
    TCliChild Child = Folder.Start(VELKARAN_TOURNAMENT_PATH, With({"--json", "a.json"}));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(Child.Pid, SIGINT);
    const TCliRun Stopped = Folder.Finish(Child);
    ASSERT_EQ(Stopped.Status, 130) << "the tournament ended before it could be interrupted";
    EXPECT_THAT(Stopped.Err, HasSubstr("go on with --resume a.json"));
    EXPECT_THAT(Stopped.Out, HasSubstr("Round robin of 3 bots"));
    EXPECT_EQ(ReadJson(Folder.Path / "a.json")["complete"], false);
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());

    const TCliRun Resumed =
        Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--resume", "a.json", "--concurrency", "2"});
    EXPECT_THAT(Resumed.Out, HasSubstr("60 of 60 games played"));
    ASSERT_EQ(Resumed.Status, 0) << Resumed.Err;
    const TCliRun Whole = Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, With({"--json", "b.json"}));
    ASSERT_EQ(Whole.Status, 0) << Whole.Err;

    const nlohmann::json A = ReadJson(Folder.Path / "a.json");
    const nlohmann::json B = ReadJson(Folder.Path / "b.json");
    EXPECT_EQ(A["complete"], true);
    EXPECT_EQ(A["statistics"], B["statistics"]);
    EXPECT_EQ(Games(A), Games(B));
}

TEST(Tournament, StartPositionsGiveTheSameGamesOnOneThreadOrTwoFromABookAndAcrossShards) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("planner.so");
    const std::string Tournament = VELKARAN_TOURNAMENT_PATH;
    const std::vector<std::string> Openings{"--pairs", "4", "--openings", "random:4", "--seed", "9"};
    const auto With = [&Openings](std::vector<std::string> More) {
        More.insert(More.begin(), Openings.begin(), Openings.end());
        return More;
    };
    const TCliRun One = Folder.RunProgram(
        Tournament, With({"--concurrency", "1", "--json", "one.json", "--openings-out", "book.json"}));
    ASSERT_EQ(One.Status, 0) << One.Err;
    EXPECT_THAT(One.Out, HasSubstr("Start positions: 4 random of seed 9, 4 of them played\n"));
    const nlohmann::json Reference = ReadJson(Folder.Path / "one.json");
    EXPECT_EQ(Reference["statistics"]["positions_played"], 4);
    for (const auto &[Number, Game] : Games(Reference)) EXPECT_TRUE(Game.contains("start")) << Number;

    ASSERT_EQ(Folder.RunProgram(Tournament, With({"--concurrency", "2", "--json", "two.json"})).Status, 0);
    const nlohmann::json Two = ReadJson(Folder.Path / "two.json");
    EXPECT_EQ(Games(Two), Games(Reference));
    EXPECT_EQ(Two["statistics"], Reference["statistics"]);

    // The book written out plays the same games again.
    ASSERT_EQ(
        Folder.RunProgram(Tournament, {"--pairs", "4", "--openings", "book.json", "--json", "book.json.t"})
            .Status,
        0);
    EXPECT_EQ(Games(ReadJson(Folder.Path / "book.json.t")), Games(Reference));

    ASSERT_EQ(Folder.RunProgram(Tournament, With({"--plan", "plan.json", "--shards", "3"})).Status, 0);
    for (const char *Shard : {"0", "1", "2"})
        ASSERT_EQ(Folder.RunProgram(Tournament, {"--run-shard", Shard, "--plan", "plan.json", "--out", "out"})
                      .Status,
                  0);
    const TCliRun Merged =
        Folder.RunProgram(Tournament, {"--merge", "out", "--plan", "plan.json", "--json", "merged.json"});
    ASSERT_EQ(Merged.Status, 0) << Merged.Err;
    const nlohmann::json Sharded = ReadJson(Folder.Path / "merged.json");
    EXPECT_EQ(Games(Sharded), Games(Reference));
    EXPECT_EQ(Sharded["statistics"], Reference["statistics"]);
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Tournament, AnSprtStopsALopsidedMatchEarlyAndATinyBudgetRunsOut) {
    MatchFolder Folder;
    Folder.AddSampleBot("passive.so");
    Folder.AddSampleBot("greedy.so");
    const TCliRun Lopsided = Folder.RunProgram(
        VELKARAN_TOURNAMENT_PATH, {"--pairs", "1000", "--sprt", "elo0=0 elo1=10", "greedy.so", "passive.so"});
    ASSERT_EQ(Lopsided.Status, 0) << Lopsided.Err;
    EXPECT_THAT(Lopsided.Out, HasSubstr("H1 accepted"));
    EXPECT_THAT(Lopsided.Out, Not(HasSubstr("2000 of 2000 games")));

    const TCliRun Tiny = Folder.RunProgram(
        VELKARAN_TOURNAMENT_PATH, {"--pairs", "2", "--sprt", "elo0=0 elo1=10", "greedy.so", "passive.so"});
    ASSERT_EQ(Tiny.Status, 0) << Tiny.Err;
    EXPECT_THAT(Tiny.Out, HasSubstr("4 of 4 games played"));
    EXPECT_THAT(Tiny.Out, HasSubstr("undecided"));
}

TEST(Tournament, AFileThatIsNotASavedTournamentIsRefusedAndLeftAlone) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    ASSERT_EQ(Folder.Run({"--json", "match.json", "greedy.so", "passive.so"}).Status, 0);
    ASSERT_EQ(Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--pairs", "2", "--json", "t.json"}).Status, 0);
    std::string Damaged = ReadText(Folder.Path / "t.json");
    Damaged.resize(Damaged.size() / 2);
    Folder.AddTextFile("damaged.json", Damaged);
    const std::string Foreign = ReadText(Folder.Path / "match.json");

    const TCliRun Match = Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--resume", "match.json"});
    EXPECT_EQ(Match.Status, 2);
    EXPECT_THAT(Match.Err,
                HasSubstr("is not a tournament of velkaran-tournament: it was written by velkaran-match"));
    EXPECT_EQ(ReadText(Folder.Path / "match.json"), Foreign);
    const TCliRun Broken = Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--resume", "damaged.json"});
    EXPECT_EQ(Broken.Status, 2);
    EXPECT_THAT(Broken.Err, HasSubstr("is not a readable JSON document"));
    EXPECT_EQ(ReadText(Folder.Path / "damaged.json"), Damaged);
}

TEST(Tournament, AShardRefusesABotThatChangedAndAMergeSaysWhatIsMissing) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddSampleBot("planner.so");
    const std::string Tournament = VELKARAN_TOURNAMENT_PATH;
    ASSERT_EQ(Folder.RunProgram(Tournament, {"--plan", "plan.json", "--shards", "3", "--pairs", "2"}).Status,
              0);
    EXPECT_EQ(Folder.RunProgram(Tournament, {"--shard-count", "--plan", "plan.json"}).Out, "3\n");
    for (const char *Shard : {"0", "1"})
        EXPECT_EQ(Folder.RunProgram(Tournament, {"--run-shard", Shard, "--plan", "plan.json", "--out", "out"})
                      .Status,
                  0);
    std::filesystem::remove(Folder.Path / "planner.so");
    Folder.AddSampleBot("greedy.so", "planner.so");
    const TCliRun Changed =
        Folder.RunProgram(Tournament, {"--run-shard", "2", "--plan", "plan.json", "--out", "out"});
    EXPECT_EQ(Changed.Status, 2);
    EXPECT_THAT(Changed.Err, HasSubstr("the bot library planner.so has changed since the tournament began"));

    const TCliRun Merged = Folder.RunProgram(Tournament, {"--merge", "out", "--plan", "plan.json"});
    EXPECT_EQ(Merged.Status, 3);
    EXPECT_THAT(Merged.Err, HasSubstr("shard 2: missing"));
    EXPECT_THAT(Merged.Err, HasSubstr("\n  velkaran-tournament --run-shard 2 --plan plan.json --out out\n"));
    EXPECT_THAT(Merged.Out, HasSubstr("Partial results: 1 of 3 shards are missing, incomplete or refused"));
    EXPECT_THAT(Merged.Out, HasSubstr("8 of 12 games played"));
}

// The text of Path with the first occurrence of From replaced by To.
std::string Edited(const std::filesystem::path &Path, const std::string &From, const std::string &To) {
    std::string Text = ReadText(Path);
    const std::size_t At = Text.find(From);
    EXPECT_NE(At, std::string::npos) << From;
    if (At != std::string::npos) Text.replace(At, From.size(), To);
    return Text;
}

TEST(Tournament, ResumeAndMergeCountOnlyRecordsThatReplayAndBelong) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    const std::string Tournament = VELKARAN_TOURNAMENT_PATH;
    ASSERT_EQ(Folder.RunProgram(Tournament, {"--pairs", "2", "--json", "t.json"}).Status, 0);
    // Greedy destroys Passive's base in every game: a flipped winner, a bot of another file.
    const std::string Flipped = Edited(Folder.Path / "t.json", "\"result\":2,", "\"result\":1,");
    const std::string Foreign = Edited(Folder.Path / "t.json", "\"file\":\"passive.so\",\"longest",
                                       "\"file\":\"other.so\",\"longest");
    Folder.AddTextFile("flipped.json", Flipped);
    Folder.AddTextFile("foreign.json", Foreign);
    for (const char *File : {"flipped.json", "foreign.json"}) {
        const TCliRun Resumed = Folder.RunProgram(Tournament, {"--resume", File});
        EXPECT_EQ(Resumed.Status, 2) << File;
        EXPECT_THAT(Resumed.Err, HasSubstr("; it was left as it is")) << File;
    }
    EXPECT_THAT(Folder.RunProgram(Tournament, {"--resume", "flipped.json"}).Err,
                HasSubstr("does not replay: the record says result 1, the replay gives 2"));
    EXPECT_THAT(Folder.RunProgram(Tournament, {"--resume", "foreign.json"}).Err,
                HasSubstr("was played by Passive (other.so) where the tournament has Passive (passive.so)"));
    EXPECT_EQ(ReadText(Folder.Path / "flipped.json"), Flipped);
    // --json never writes over a saved tournament by accident.
    const TCliRun Again = Folder.RunProgram(Tournament, {"--pairs", "2", "--json", "t.json"});
    EXPECT_EQ(Again.Status, 2);
    EXPECT_THAT(Again.Err, HasSubstr("t.json holds a saved tournament: go on with --resume t.json, or pass "
                                     "--force to write over it"));
    EXPECT_EQ(Folder.RunProgram(Tournament, {"--pairs", "1", "--json", "t.json", "--force"}).Status, 0);

    // Shards: one with a flipped result, one that lost a game but still says it is complete.
    ASSERT_EQ(Folder.RunProgram(Tournament, {"--plan", "plan.json", "--shards", "3", "--pairs", "3"}).Status,
              0);
    for (const char *Shard : {"0", "1", "2"})
        ASSERT_EQ(Folder.RunProgram(Tournament, {"--run-shard", Shard, "--plan", "plan.json", "--out", "out"})
                      .Status,
                  0);
    Folder.AddTextFile("out/shard-0.json",
                       Edited(Folder.Path / "out/shard-0.json", "\"result\":2,", "\"result\":1,"));
    nlohmann::json Shard = ReadJson(Folder.Path / "out/shard-1.json");
    ASSERT_EQ(Shard["complete"], true);
    Shard["games"].erase(Shard["games"].begin());
    Folder.AddTextFile("out/shard-1.json", Shard.dump());
    const TCliRun Merged = Folder.RunProgram(Tournament, {"--merge", "out", "--plan", "plan.json"});
    EXPECT_EQ(Merged.Status, 3);
    EXPECT_THAT(Merged.Err, HasSubstr("shard 0: refused, game "));
    EXPECT_THAT(Merged.Err, HasSubstr("shard 1: 1 of its 2 games were played"));
    EXPECT_THAT(Merged.Err, HasSubstr("  velkaran-tournament --run-shard 0 --plan plan.json --out out\n"
                                      "  velkaran-tournament --run-shard 1 --plan plan.json --out out\n"));
    EXPECT_THAT(Merged.Out, HasSubstr("3 of 6 games played"));
}

TEST(Tournament, BotsOfOneNameAreToldApartByTheirFilesAndOneFileIsOneBot) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("greedy.so", "twin.so");
    Folder.AddSampleBot("passive.so");
    std::filesystem::create_symlink("greedy.so", Folder.Path / "alias.so");
    const TCliRun Run = Folder.RunProgram(VELKARAN_TOURNAMENT_PATH,
                                          {"--pairs", "1", "--json", "t.json", "greedy.so", "twin.so",
                                           (Folder.Path / "alias.so").string(), "passive.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Err, HasSubstr("alias.so\" is the file of \"greedy.so\" again; it plays once"));
    EXPECT_THAT(Run.Out, HasSubstr("Round robin of 3 bots"));
    // Every line that names Greedy says which one.
    int Named = 0;
    for (const std::string &Line : Lines(Run.Out)) {
        for (std::size_t At = Line.find("Greedy"); At != std::string::npos;
             At = Line.find("Greedy", At + 1)) {
            const std::string From = Line.substr(At);
            EXPECT_TRUE(From.starts_with("Greedy (greedy.so)") || From.starts_with("Greedy (twin.so)"))
                << Line;
            ++Named;
        }
    }
    EXPECT_GE(Named, 15);  // standings, crosstable (row and column), encounters, times, losses, cards
    const nlohmann::json Document = ReadJson(Folder.Path / "t.json");
    EXPECT_EQ(Document["config"]["bots"][0]["label"], "Greedy (greedy.so)");
    EXPECT_EQ(Document["config"]["bots"][1]["label"], "Greedy (twin.so)");
}

TEST(Tournament, AHugeTournamentStartsAtOnceAndStopsOnCtrlC) {
    MatchFolder Folder;
    for (int Bot = 0; Bot < 18; ++Bot) Folder.AddSampleBot("passive.so", "p" + std::to_string(Bot) + ".so");
    // Probing 18 bots may take longer than a second on a busy machine (or under the sanitizers): a
    // Ctrl-C then stops it before the first game, and the tournament is tried again with more time.
    TCliRun Stopped;
    for (int Seconds = 1; Seconds <= 9; Seconds *= 3) {
        TCliChild Child =
            Folder.Start(VELKARAN_TOURNAMENT_PATH, {"--pairs", "1000000000", "--concurrency", "1"});
        std::this_thread::sleep_for(std::chrono::seconds(Seconds));
        kill(Child.Pid, SIGINT);
        Stopped = Folder.Finish(Child);
        if (Stopped.Err.find("before the first game") == std::string::npos) break;
    }
    EXPECT_EQ(Stopped.Status, 130) << Stopped.Err;
    EXPECT_THAT(Stopped.Out, HasSubstr(" of 306000000000 games played"));
    EXPECT_THAT(Stopped.Err, HasSubstr("velkaran-tournament: stopped after "));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Tournament, TheDefaultConcurrencyIsTheCpusThisProcessMayUse) {
    MatchFolder Folder;
    const TCliRun Pinned =
        Folder.RunProgram("/usr/bin/taskset", {"-c", "0", VELKARAN_TOURNAMENT_PATH, "--help"});
    EXPECT_THAT(Pinned.Out, HasSubstr("(default here: 1, the CPUs"));
    const TCliRun Allocated =
        Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--help"}, {"SLURM_CPUS_PER_TASK=1"});
    EXPECT_THAT(Allocated.Out, HasSubstr("(default here: 1, the CPUs"));
}

TEST(Tournament, AGauntletPlaysOneBotAgainstEachOther) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddSampleBot("planner.so");
    const TCliRun Run =
        Folder.RunProgram(VELKARAN_TOURNAMENT_PATH, {"--pairs", "2", "--gauntlet", "planner.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Gauntlet of 3 bots, 2 game pairs per encounter: 8 of 8 games played\n"));
    EXPECT_THAT(Run.Out, HasSubstr("Planner - Greedy"));
    EXPECT_THAT(Run.Out, HasSubstr("Planner - Passive"));
    EXPECT_THAT(Run.Out, Not(HasSubstr("Greedy - Passive")));
}

}  // namespace
}  // namespace velkaran::testing
