// A bot in a worker sees exactly the calls, arguments, records and order it sees when it is loaded
// into the host, however a game ends and in whichever seat; one library file in both seats is one
// worker, as it is one loaded library.
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

// How the seat of player 1 ends its games, whatever its bot would do.
enum class TEnding { AsPlayed, InvalidSet, OpeningFault, RefusedCard, TooSlow, Hung };

// Seat's calls with Ending forced in round 3 (or in its opening call); a slow move is 20001 ms on
// the game's clock Now.
TSeatCalls Forcing(TSeatCalls Seat, TEnding Ending, double &Now) {
    TStartGameFn Start = [Inner = Seat.StartGame, Ending](int32_t Index, TCardList *Set,
                                                          const TTurnInfo *Info) {
        if (Set != nullptr && Ending == TEnding::OpeningFault)
            return TCallOutcome{TCallFault::Crashed, "forced"};
        TCallOutcome Outcome = Inner(Index, Set, Info);
        if (Set != nullptr && Ending == TEnding::InvalidSet) Set->Card[4] = Set->Card[5];
        return Outcome;
    };
    TGetTurnFn Turn = [Inner = Seat.GetTurn, Ending, &Now](int32_t Index, const TGameView *View,
                                                           const TCardList *Playable, const TTurnInfo *Info) {
        TTurnAnswer Answer = Inner(Index, View, Playable, Info);
        if (Info->Turn != 3) return Answer;
        if (Ending == TEnding::RefusedCard) Answer.Card = 0;
        if (Ending == TEnding::TooSlow) Now += 20001;
        if (Ending == TEnding::Hung) Answer.Outcome = {TCallFault::Hung, "forced"};
        return Answer;
    };
    return {std::move(Start), std::move(Turn)};
}

// A series of 1 + 1 games of 200 rounds between First (player 1, its endings forced) and Second,
// probed through Probe; Journal is reached through JournalSeat, any other bot in this process.
void PlaySeries(const std::string &First, const std::string &Second, TEnding Ending,
                const std::string &Journal, const TLibraryProbe &Probe, const TBotSeatFactory &JournalSeat) {
    TMatchSettings Settings;
    Settings.First.Bot = Probe(First).Bot;
    Settings.Second.Bot = Probe(Second).Bot;
    Settings.ModeItem = 1;
    Settings.GameCount = 1;
    Settings.TurnLimit = 200;
    QuietGameInterface Quiet;
    double Now = 0;
    int Seated = 0;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.Clock = [&Now] { return Now; };
    Environment.BotSeat = [&](const TBot &Bot) {
        TSeatCalls Calls = Bot.Path == Journal ? JournalSeat(Bot) : InProcessSeat(Bot);
        return Seated++ == 0 ? Forcing(std::move(Calls), Ending, Now) : Calls;
    };
    RunMatch(Settings, Environment);
}

TEST(SameCalls, InAWorkerAsInTheHostByteForByteHoweverTheGameEnds) {
    BotFolder Folder;
    const std::string Journal = Folder.AddTestBot("journal_bot", "journal.so");
    const std::string Greedy = Folder.AddSampleBot("greedy.so");
    const std::filesystem::path InHost = Folder.Path / "in-host.txt";
    const std::filesystem::path InWorker = Folder.Path / "in-worker.txt";
    const auto InProcess = [](const std::string &Path) { return LoadBotLibrary(Path); };

    // Greedy destroys the journal bot's base unless the game ends otherwise; two journal bots, one
    // library, play to the turn limit.
    for (const auto &[First, Second] : {std::pair{Greedy, Journal}, std::pair{Journal, Journal}}) {
        for (const TEnding Ending : {TEnding::AsPlayed, TEnding::InvalidSet, TEnding::OpeningFault,
                                     TEnding::RefusedCard, TEnding::TooSlow, TEnding::Hung}) {
            SCOPED_TRACE(std::filesystem::path(First).filename().string() + " forced to end as " +
                         std::to_string(static_cast<int>(Ending)));
            std::filesystem::remove(InHost);
            std::filesystem::remove(InWorker);
            setenv("VELKARAN_JOURNAL", InHost.c_str(), 1);
            PlaySeries(First, Second, Ending, Journal, InProcess, InProcessSeat);

            setenv("VELKARAN_JOURNAL", InWorker.c_str(), 1);
            TWorkerPoolSettings Settings;
            Settings.Worker.Program = VELKARAN_WORKER_PROGRAM;
            TBotWorkerPool Pool(Settings);
            PlaySeries(
                First, Second, Ending, Journal,
                [&](const std::string &Path) { return Path == Journal ? Pool.Probe(Path) : InProcess(Path); },
                [&Pool](const TBot &Bot) { return Pool.Seat(Bot); });
            EXPECT_TRUE(Pool.StopAll().empty());
            unsetenv("VELKARAN_JOURNAL");

            const TJournal Host = ReadJournal(InHost);
            const TJournal Worker = ReadJournal(InWorker);
            ASSERT_GT(Host.Calls.size(), 4u);
            EXPECT_EQ(Worker.Calls, Host.Calls);
            // One worker served the journal bot, in both seats when it sat in both.
            EXPECT_EQ(Worker.Processes.size(), 1u);
            EXPECT_EQ(Worker.Processes.count(std::to_string(getpid())), 0u);
        }
    }
}

}  // namespace
}  // namespace velkaran::testing
