// A bot in a worker sees exactly the calls, arguments, records and order it sees when it is loaded
// into the host; one library file in both seats is one worker, as it is one loaded library.
#include "bot_folder.h"

#include "match/match_runner.h"
#include "players/bot_discovery.h"
#include "players/quiet_game_interface.h"
#include "workers/worker_pool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace velkaran::testing {
namespace {

// The journal's lines without the process id, and the ids seen.
struct TJournal {
    std::vector<std::string> Calls;
    std::set<std::string> Processes;
};

TJournal ReadJournal(const std::filesystem::path &File) {
    TJournal Journal;
    std::ifstream In(File);
    for (std::string Line; std::getline(In, Line);) {
        const std::size_t Blank = Line.find(' ');
        Journal.Processes.insert(Line.substr(0, Blank));
        Journal.Calls.push_back(Line.substr(Blank + 1));
    }
    return Journal;
}

// A series of 2 + 2 games of 40 rounds, the bots probed and seated through Probe and Seat.
std::vector<std::string> PlaySeries(const std::string &First, const std::string &Second,
                                    const TLibraryProbe &Probe, const TBotSeatFactory &Seat) {
    TMatchSettings Settings;
    Settings.First.Bot = Probe(First).Bot;
    Settings.Second.Bot = Probe(Second).Bot;
    Settings.ModeItem = 1;
    Settings.GameCount = 2;
    Settings.TurnLimit = 40;
    QuietGameInterface Quiet;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.BotSeat = Seat;
    Environment.Clock = [] { return 0.0; };
    return RunMatch(Settings, Environment).Lines;
}

TEST(SameCalls, InAWorkerAsInTheHostByteForByte) {
    BotFolder Folder;
    const std::string Journal = Folder.AddTestBot("journal_bot", "journal.so");
    const std::string Greedy = Folder.AddSampleBot("greedy.so");
    const std::filesystem::path InHost = Folder.Path / "in-host.txt";
    const std::filesystem::path InWorker = Folder.Path / "in-worker.txt";

    for (const auto &[Second, Label] : {std::pair{Journal, "itself"}, std::pair{Greedy, "greedy"}}) {
        SCOPED_TRACE(Label);
        std::filesystem::remove(InHost);
        std::filesystem::remove(InWorker);
        setenv("VELKARAN_JOURNAL", InHost.c_str(), 1);
        PlaySeries(
            Journal, Second, [](const std::string &Path) { return LoadBotLibrary(Path); }, InProcessSeat);

        setenv("VELKARAN_JOURNAL", InWorker.c_str(), 1);
        TWorkerPoolSettings Settings;
        Settings.Worker.Program = VELKARAN_WORKER_PROGRAM;
        TBotWorkerPool Pool(Settings);
        PlaySeries(
            Journal, Second, [&Pool](const std::string &Path) { return Pool.Probe(Path); },
            [&Pool](const TBot &Bot) { return Pool.Seat(Bot); });
        EXPECT_TRUE(Pool.StopAll().empty());
        unsetenv("VELKARAN_JOURNAL");

        const TJournal Host = ReadJournal(InHost);
        const TJournal Worker = ReadJournal(InWorker);
        ASSERT_GT(Host.Calls.size(), 40u);
        EXPECT_EQ(Worker.Calls, Host.Calls);
        // One worker served the journal bot, in both seats when it sat in both.
        EXPECT_EQ(Worker.Processes.size(), 1u);
        EXPECT_EQ(Worker.Processes.count(std::to_string(getpid())), 0u);
    }
}

}  // namespace
}  // namespace velkaran::testing
