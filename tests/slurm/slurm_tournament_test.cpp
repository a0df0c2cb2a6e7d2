// scripts/slurm-tournament run for real on a one-node cluster of the test's own, with a stand-in
// tournament program whose shards can be made to fail once or always.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <thread>

#include "slurm_cluster.h"

namespace velkaran::testing {
namespace {

namespace fs = std::filesystem;

// True when no process Pid exists, not even as a zombie.
bool Gone(pid_t Pid) { return kill(Pid, 0) != 0 && errno == ESRCH; }

int CountMatches(const std::string &Text, const std::string &Pattern) {
    const std::regex Expression(Pattern);
    return static_cast<int>(
        std::distance(std::sregex_iterator(Text.begin(), Text.end(), Expression), std::sregex_iterator()));
}

class SlurmTournamentTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string Reason = TSlurmCluster::Unavailable(); !Reason.empty()) GTEST_SKIP() << Reason;
        const std::string Error = Cluster.Start();
        ASSERT_EQ(Error, "") << "the test cluster did not start";
        std::cout << "[ figures  ] cluster ready " << Cluster.StartSeconds() << " s after start\n";
        Work = Cluster.Folder() / "tournament";
        Out = Cluster.Folder() / "results";
        fs::create_directory(Work);
        fs::copy_file(VELKARAN_FAKE_TOURNAMENT, Work / "velkaran-tournament");
    }

    void TearDown() override { Cluster.Stop(); }

    // Writes a plan of Shards shards with the stand-in program, in the work folder.
    void MakePlan(int Shards) {
        const TProgramRun Plan = RunProgram({(Work / "velkaran-tournament").string(), "--plan", "plan.json",
                                             "--shards", std::to_string(Shards), "a.so", "b.so"},
                                            {}, Work);
        ASSERT_EQ(Plan.Status, 0) << Plan.Err;
    }

    void AddMarker(const std::string &Name) { std::ofstream(Work / Name) << ""; }

    // Runs the script on the plan, from the test cluster's folder, and notes the names and pids of
    // every process of the cluster seen while it ran.
    TProgramRun RunScript() {
        std::vector<std::string> Environment = Cluster.Env();
        Environment.push_back("VELKARAN_TOURNAMENT=" + (Work / Program).string());
        const auto Begin = std::chrono::steady_clock::now();
        const pid_t Script = StartProcess({VELKARAN_SLURM_TOURNAMENT, "tournament/plan.json", "results", "--",
                                           "--time=5", "--cpus-per-task=1"},
                                          Environment, Cluster.Folder(), Cluster.Folder() / "script.out",
                                          Cluster.Folder() / "script.err");
        TProgramRun Run;
        if (Script < 0) {
            ADD_FAILURE() << "cannot start " << VELKARAN_SLURM_TOURNAMENT;
            return Run;
        }
        while (true) {
            if (const auto Status = FinishedStatus(Script)) {
                Run.Status = *Status;
                break;
            }
            if (std::chrono::steady_clock::now() - Begin > std::chrono::minutes(3)) {
                ADD_FAILURE() << "the script did not end within three minutes";
                StopProcess(Script, std::chrono::seconds(5));
                break;
            }
            for (const TProcessInfo &Process : Cluster.Processes()) Seen.insert({Process.Name, Process.Pid});
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        RunSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Begin).count();
        Run.Out = ReadText(Cluster.Folder() / "script.out");
        Run.Err = ReadText(Cluster.Folder() / "script.err");
        return Run;
    }

    // The Slurm output files of the results folder whose shard is Shard, or of all shards (-1).
    int SlurmOutputFiles(int Shard = -1) const {
        int Count = 0;
        const std::regex Name(Shard < 0 ? R"(slurm-\d+_\d+\.out)"
                                        : R"(slurm-\d+_)" + std::to_string(Shard) + R"(\.out)");
        for (const auto &Entry : fs::directory_iterator(Out))
            if (std::regex_match(Entry.path().filename().string(), Name)) ++Count;
        return Count;
    }

    TSlurmCluster Cluster;
    std::string Program = "velkaran-tournament";  // in the work folder: the stand-in, or a wrapper
    fs::path Work;
    fs::path Out;
    std::set<std::pair<std::string, pid_t>> Seen;
    double RunSeconds = 0;
};

TEST_F(SlurmTournamentTest, RetriesAShardThatFailedOnceMergesAllInOrderAndLeavesNothingRunning) {
    ASSERT_NO_FATAL_FAILURE(MakePlan(6));
    AddMarker("fail-once-3");

    const TProgramRun Run = RunScript();
    std::cout << "[ figures  ] 6-shard run with one retry: " << RunSeconds << " s\n";

    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(
        Run.Out,
        "{\"shard\": 0}\n{\"shard\": 1}\n{\"shard\": 2}\n{\"shard\": 3}\n{\"shard\": 4}\n{\"shard\": 5}\n");
    EXPECT_EQ(CountMatches(Run.Err, R"(shard \d+ failed)"), 1) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(shard 3 failed: FAILED)"), 1) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(resubmitted shards 3 once as job array \d+)"), 1) << Run.Err;
    EXPECT_FALSE(fs::exists(Work / "fail-once-3")) << "shard 3's first try did not run in the plan's folder";
    EXPECT_EQ(SlurmOutputFiles(), 7);
    EXPECT_EQ(SlurmOutputFiles(3), 2);

    // The jobs are over: only the daemons are left, and stopping them leaves no process at all.
    bool SawStepDaemon = false;
    for (const auto &[Name, Pid] : Seen) SawStepDaemon = SawStepDaemon || Name == "slurmstepd";
    EXPECT_TRUE(SawStepDaemon) << "no slurmstepd was seen, so leftovers could not be seen either";
    const std::vector<pid_t> Daemons = Cluster.DaemonPids();
    for (const TProcessInfo &Process : Cluster.Processes())
        EXPECT_TRUE(Process.Name == "munged" || Process.Name == "slurmctld" ||
                    Process.Name == "slurmscriptd" || Process.Name == "slurmd")
            << "left running after the jobs: " << Process.Name << " (pid " << Process.Pid << ")";
    const std::string Tag = Cluster.Env().front();
    const auto StopBegin = std::chrono::steady_clock::now();
    Cluster.Stop();
    std::cout << "[ figures  ] cluster stopped in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - StopBegin).count()
              << " s\n";
    for (const pid_t Pid : Daemons) EXPECT_TRUE(Gone(Pid)) << "daemon " << Pid << " is still there";
    for (const auto &[Name, Pid] : Seen)  // gone, or its pid already taken by another program
        EXPECT_TRUE(Gone(Pid) || ReadText("/proc/" + std::to_string(Pid) + "/comm") != Name + "\n")
            << Name << " (pid " << Pid << ") is still there";
    EXPECT_TRUE(ProcessesWithEnvironment(Tag).empty());
}

TEST_F(SlurmTournamentTest, AShardThatFailsTwiceOrIsRefusedGivesAPartialMergeAndStatus3) {
    ASSERT_NO_FATAL_FAILURE(MakePlan(4));
    AddMarker("fail-always-1");
    AddMarker("refused-3");  // its bot changed: trying again cannot help

    const TProgramRun Run = RunScript();

    EXPECT_EQ(Run.Status, 3) << Run.Err;
    EXPECT_EQ(Run.Out, "{\"shard\": 0}\n{\"shard\": 2}\npartial results: 2 of 4 shards missing\n");
    EXPECT_EQ(CountMatches(Run.Err, R"(shard 1 failed)"), 2) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(shard 3 failed)"), 1) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(shard 3 was refused)"), 1) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(shards still missing after the second try: 3 1;)"), 1) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(--run-shard I --plan )"), 1) << Run.Err;
    EXPECT_EQ(SlurmOutputFiles(1), 2);
    EXPECT_EQ(SlurmOutputFiles(3), 1);
}

TEST_F(SlurmTournamentTest, ARealTournamentPlayedInShardsMergesToTheResultsOfALocalRun) {
    // The sample bots in the work folder, and the real program behind a wrapper that makes shard 3
    // fail on its first try.
    for (const char *Bot : {"greedy.so", "passive.so", "planner.so"})
        fs::copy_file(fs::path(VELKARAN_SAMPLE_BOTS_DIR) / Bot, Work / Bot);
    Program = "failing-once";
    std::ofstream(Work / Program)
        << "#!/bin/sh\n"
           "shard=; previous=\n"
           "for argument; do [ \"$previous\" = --run-shard ] && shard=$argument; "
           "previous=$argument; done\n"
           "if [ \"$shard\" = 3 ] && [ -e fail-once-3 ]; then rm fail-once-3; exit 1; fi\n"
           "exec " VELKARAN_TOURNAMENT_PATH " \"$@\"\n";
    fs::permissions(Work / Program, fs::perms::owner_all, fs::perm_options::add);
    AddMarker("fail-once-3");
    const TProgramRun Plan = RunProgram({VELKARAN_TOURNAMENT_PATH, "--plan", "plan.json", "--shards", "6",
                                         "--pairs", "4", "--concurrency", "1"},
                                        {}, Work);
    ASSERT_EQ(Plan.Status, 0) << Plan.Err;

    const TProgramRun Run = RunScript();
    std::cout << "[ figures  ] 6-shard tournament with one retry: " << RunSeconds << " s\n";
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(CountMatches(Run.Err, R"(resubmitted shards 3 once as job array \d+)"), 1) << Run.Err;
    EXPECT_NE(Run.Out.find("Round robin of 3 bots, 4 game pairs per encounter: 24 of 24 games played"),
              std::string::npos)
        << Run.Out;

    const TProgramRun Merged = RunProgram(
        {VELKARAN_TOURNAMENT_PATH, "--merge", Out.string(), "--plan", "plan.json", "--json", "merged.json"},
        {}, Work);
    ASSERT_EQ(Merged.Status, 0) << Merged.Err;
    const TProgramRun Local =
        RunProgram({VELKARAN_TOURNAMENT_PATH, "--pairs", "4", "--json", "local.json"}, {}, Work);
    ASSERT_EQ(Local.Status, 0) << Local.Err;
    // The statistics say nothing that depends on how long the bots thought: the same text.
    const auto Statistics = [this](const char *File) {
        const std::string Text = ReadText(Work / File);
        const std::size_t At = Text.find("\"statistics\":");
        return At == std::string::npos ? std::string()
                                       : Text.substr(At, Text.find(",\"thinking_time\"", At) - At);
    };
    EXPECT_NE(Statistics("local.json"), "");
    EXPECT_EQ(Statistics("merged.json"), Statistics("local.json"));
}

}  // namespace
}  // namespace velkaran::testing
