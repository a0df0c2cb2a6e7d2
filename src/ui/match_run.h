// One match of the desktop program: played on the match thread, watched and stopped from the
// window thread, and what it leaves for the result window.
#pragma once

#include "records/record_archive.h"

#include "match/fault_summary.h"
#include "match/match_runner.h"
#include "records/record_journal.h"
#include "summary/match_results.h"
#include "summary/match_summary.h"
#include "summary/results_text.h"
#include "workers/worker_run.h"

#include <QElapsedTimer>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

class TMatchRun {
public:
    // A match of Settings played with Environment, whose OnGameEnd (if any) still hears of every
    // game; the run adds its own callbacks and its stop flag.
    TMatchRun(const TMatchSettings &Settings, const TMatchEnvironment &Environment);

    // Plays the match; on the match thread. A failure that ends it is kept, never thrown.
    void Play();

    // From the window thread, while Play runs: asks the match to stop; AtOnce also ends the
    // workers of the match's bots (see StopAlso), so that the game in play ends now.
    void RequestStop(TStopRequest Request);
    // The workers a stop at once ends: the match's own run, and no other bots'. Before Play.
    void StopAlso(std::shared_ptr<TWorkerRun> Workers) { BotRun = std::move(Workers); }
    TStopRequest StopRequested() const { return static_cast<TStopRequest>(Stop.load()); }
    // The series as it stands (all zero for a single game), and the time since the start.
    TSeriesProgress Progress() const;
    double ElapsedSeconds() const { return Clock.elapsed() / 1000.0; }

    // The bot whose move is awaited and for how many seconds of the host's clock; nothing between
    // moves and while a human moves.
    struct TThinking {
        std::string Name;
        double Seconds = 0;
    };
    std::optional<TThinking> Thinking() const;

    bool IsSeries() const { return Counted->Scope.Series; }
    bool BotsOnly() const { return !Settings.First.Human && !Settings.Second.Human; }
    const std::array<std::string, 2> &Names() const { return Counted->Names; }
    // The flag the runner looks at; for the game interface, which skips the final position after a stop.
    const std::atomic<int> &StopFlag() const { return Stop; }
    // Replaces the game interface the runner calls (on the match thread); before Play.
    void SetUi(GameInterface *Ui) { Environment.Ui = Ui; }
    // Keeps a series, finished or stopped, in Folder (see KeepMatchResult); before Play.
    void KeepIn(std::string Folder) { KeepFolder = std::move(Folder); }

    // After Play: the result text, or the failure that ended the match without one.
    const std::vector<std::string> &Lines() const { return Lines_; }
    const std::optional<std::string> &Failure() const { return Failure_; }
    // After Play: one line per player whose bot faulted or was too slow (Russian).
    std::vector<std::string> FaultReport() const;
    // After Play: what the result window shows beside the text.
    std::shared_ptr<const TMatchResults> Results() const { return Counted; }
    // After Play: the document the series was kept in, or why it was not (both empty when it was
    // not to be kept).
    const std::string &KeptDocument() const { return Kept; }
    const std::string &KeepFailure() const { return KeepError; }

private:
    // Marks the bot Name as thinking from its construction to its end.
    struct TThinkingScope {
        TThinkingScope(TMatchRun &Run, const std::string &Name);
        ~TThinkingScope();
        TThinkingScope(const TThinkingScope &) = delete;
        TThinkingScope &operator=(const TThinkingScope &) = delete;
        TMatchRun &Run;
    };

    void CountGame(const TPlayedGame &Game);
    void Keep(bool Complete);

    TMatchSettings Settings;
    TMatchEnvironment Environment;
    std::shared_ptr<TWorkerRun> BotRun;
    std::atomic<int> Stop{0};
    QElapsedTimer Clock;
    mutable std::mutex ProgressLock;
    TSeriesProgress Progress_;
    std::string ThinkingName;                // under ProgressLock: the bot asked for a move ...
    int64_t ThinkingSinceMs = -1;            // ... since this time of Clock; -1 between moves
    std::shared_ptr<TMatchResults> Counted;  // filled on the match thread during Play
    TFaultSummary Faults;
    int64_t Games = 0;
    std::vector<std::string> Lines_;
    std::optional<std::string> Failure_;
    std::string KeepFolder;
    std::unique_ptr<TRecordJournal> Journal;  // the series' records, for its document
    std::string Kept, KeepError;
};

}  // namespace velkaran
