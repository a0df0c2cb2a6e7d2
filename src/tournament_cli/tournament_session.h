// One run of a tournament: its results so far, the records on disk, the document saved now and
// then, and the runner's games counted as they arrive; shared by the runner's threads and the
// thread that watches signals and draws the progress.
#pragma once

#include "tournament/tournament_document.h"
#include "tournament/tournament_runner.h"

#include "match/fault_summary.h"
#include "records/record_journal.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace velkaran {

class TTournamentSession {
public:
    // What the saved document holds around the games: Head before them, Tail (built from the
    // results) after them.
    struct TDocument {
        std::string Path;  // empty: no document
        nlohmann::json Head;
        std::function<nlohmann::json(const TTournamentResults &Results, bool Complete)> Tail;
    };

    // A session over Results (fresh or resumed). The records counted so far are in Journal (null
    // without a document).
    TTournamentSession(std::unique_ptr<TTournamentResults> Results, std::unique_ptr<TRecordJournal> Journal,
                       TDocument Document);

    // Plays the games First .. End - 1 not yet counted: runs Runner on a thread of its own while
    // this thread waits for SIGINT, SIGTERM or SIGHUP (which the caller has blocked in every
    // thread), draws the progress and saves the document every few seconds. Returns whether a
    // signal stopped it.
    bool Play(TTournamentRunner &Runner, int64_t First, int64_t End, bool ShowProgress);

    // Saves the document (when there is one); false with the reason in Error. A save that MayGiveUp
    // is given up when a signal to end the program arrives meanwhile.
    bool Save(bool Complete, std::string &Error, bool MayGiveUp = false);

    // One line per bot whose games of this run had a fault, a slow move or a refused answer: how
    // often, and the first of them.
    std::vector<std::string> ProblemLines() const;

    const TTournamentResults &Results() const { return *Results_; }
    int64_t PlayedHere() const { return PlayedHere_; }

private:
    // A finished game from the runner: counted, kept on disk; false once an SPRT has decided.
    bool Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs);
    // Counts the faults and refusals of a game counted.
    void NoteProblems(const TGameRecord &Record);

    std::unique_ptr<TTournamentResults> Results_;
    std::unique_ptr<TRecordJournal> Journal;
    TDocument Document;
    mutable std::mutex Lock;  // over Results_, Journal and Problems
    int64_t PlayedHere_ = 0;
    std::optional<std::string> JournalError;
    TFaultSummary Problems;
};

// True when every game of Results' schedule is counted, or its SPRT has decided.
bool TournamentComplete(const TTournamentResults &Results);

}  // namespace velkaran
