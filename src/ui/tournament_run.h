// One tournament of the desktop program: played by the tournament runner on threads of its own,
// watched and stopped from the window thread, and kept in the results folder when it ends.
#pragma once

#include "match/match_runner.h"
#include "records/record_archive.h"
#include "records/record_journal.h"
#include "summary/tournament_summary.h"
#include "tournament/tournament_runner.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velkaran {

class TTournamentRun {
public:
    // A tournament of Config, played as Settings says (its workers' run made for it alone), kept in
    // KeepFolder when it ends (not kept when KeepFolder is empty).
    TTournamentRun(const TTournamentConfig &Config, TRunnerSettings Settings, std::string KeepFolder,
                   std::string DecimalSeparator);
    // Stops the tournament at once, if it still runs, and waits for its thread.
    ~TTournamentRun();
    TTournamentRun(const TTournamentRun &) = delete;
    TTournamentRun &operator=(const TTournamentRun &) = delete;

    // Starts playing on a thread of its own; returns at once.
    void Start();
    // From any thread: AfterThisGame lets the games in flight finish and starts no more; AtOnce
    // abandons them, ending this tournament's workers and no others.
    void RequestStop(TStopRequest Request);
    TStopRequest StopRequested() const { return static_cast<TStopRequest>(Stop.load()); }
    // True once the tournament has ended and been kept (or failed to be).
    bool Finished() const { return Done.load(); }
    int64_t GamesDone() const;
    int64_t GamesTotal() const { return Total; }
    double ElapsedSeconds() const;

    // The standings and crosstable as they stand (no game list): a copy, cheap for a few bots.
    std::shared_ptr<const TTournamentSummary> Standings() const;
    // After Finished: everything, with the games and their records for replays.
    std::shared_ptr<const TTournamentSummary> Summary() const;
    // After Finished: the document it was kept in, or why not; what ended it from within.
    const std::string &KeptDocument() const { return Kept; }
    const std::string &KeepFailure() const { return KeepError; }
    const std::string &Failure() const { return Failure_; }

private:
    void Play();
    bool Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs);

    TTournamentRunner Runner;
    int64_t Total = 0;
    std::string KeepFolder, DecimalSeparator;
    std::atomic<int> Stop{0};
    std::atomic<bool> Done{false};
    std::chrono::steady_clock::time_point Started;
    std::thread Thread;
    mutable std::mutex Lock;  // over the counts below, while the tournament runs
    std::shared_ptr<TTournamentResults> Results;
    std::vector<TTournamentGameRow> Games;
    std::shared_ptr<TRecordArchive> Archive;  // null when the records cannot be kept for replays
    std::unique_ptr<TRecordJournal> Journal;  // the records for the document; null when not kept
    std::shared_ptr<const TTournamentSummary> Final;
    std::string Kept, KeepError, Failure_;
};

}  // namespace velkaran
