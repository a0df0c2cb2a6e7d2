// One run of a tournament: its results so far, the records on disk, the document saved now and
// then, and the runner's games counted as they arrive; shared by the runner's threads and the
// thread that watches signals and draws the progress.
#pragma once

#include "tournament/tournament_document.h"
#include "tournament/tournament_runner.h"

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

    // Plays the games not yet counted for which Skip is false: runs Runner on a thread of its own
    // while this thread waits for SIGINT, SIGTERM or SIGHUP (which the caller has blocked in every
    // thread), draws the progress and saves the document every few seconds. Returns whether a
    // signal stopped it; a failure of the host that stopped it is rethrown.
    bool Play(TTournamentRunner &Runner, const std::function<bool(int64_t Index)> &Skip, bool ShowProgress);

    // Saves the document (when there is one); false with the reason in Error.
    bool Save(bool Complete, std::string &Error);

    const TTournamentResults &Results() const { return *Results_; }

private:
    // A finished game from the runner: counted, kept on disk; false once an SPRT has decided.
    bool Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs);

    std::unique_ptr<TTournamentResults> Results_;
    std::unique_ptr<TRecordJournal> Journal;
    TDocument Document;
    std::mutex Lock;  // over Results_ and Journal
    int64_t PlayedHere = 0;
    std::optional<std::string> JournalError;
};

}  // namespace velkaran
