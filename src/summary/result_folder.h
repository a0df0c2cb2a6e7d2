// The folder where the desktop program keeps every series it plays: each one a match document
// ("<date>-<time>.json", the same document velkaran-match --json writes) with its log text beside it
// ("<date>-<time>.txt", Windows-1251 with CR LF), and what the results list says of each document.
#pragma once

#include "match/match_runner.h"
#include "records/record_journal.h"
#include "tournament/tournament_results.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// "$XDG_DATA_HOME/velkaran/results", or "$HOME/.local/share/velkaran/results" when XdgDataHome is
// null, empty or not absolute; empty when neither is known.
std::string DefaultResultsFolder(const char *XdgDataHome, const char *Home);

// The log kept beside the document at DocumentPath: the same name ending in ".txt".
std::string ResultLogPath(const std::string &DocumentPath);

// Keeps a match in Folder (made if missing): Journal's records as the match document of Settings,
// complete or not, named after Now (local time, "-2", "-3" ... when the name is taken), and
// LogLines (UTF-8) as its log. The document's path, or nothing with Error (Russian).
std::optional<std::string> KeepMatchResult(const std::string &Folder, const TMatchSettings &Settings,
                                           const TRecordJournal &Journal, bool Complete,
                                           const std::vector<std::string> &LogLines, std::time_t Now,
                                           std::string &Error);

// Keeps a tournament in Folder (made if missing): Journal's records as the tournament document of
// Results (the same document velkaran-tournament --json writes), complete or not, named as
// KeepMatchResult names a match's. The document's path, or nothing with Error (Russian).
std::optional<std::string> KeepTournamentResult(const std::string &Folder, const TTournamentResults &Results,
                                                const TRecordJournal &Journal, bool Complete, std::time_t Now,
                                                std::string &Error);

// The documents (*.json) of Folder, the last written first; none when the folder does not exist.
std::vector<std::string> KeptResults(const std::string &Folder);

// Removes the document at Path and the log kept beside it; false with Error (Russian) when the
// document stays.
bool RemoveResult(const std::string &Path, std::string &Error);

// What the results list says of one document.
struct TResultEntry {
    std::string Path;
    std::time_t Modified = 0;  // when the file was last written
    std::string Kind;          // "серия", "игра", "турнир" or "записи"
    // The players in their order (a match's players 1 and 2; else by their first game), with the
    // points each scored (a win 1, a draw 1/2).
    std::vector<std::string> Players;
    std::vector<double> Points;
    int64_t Games = 0;
    bool Complete = true;  // false for a match or tournament stopped before its end
    std::string Problem;   // why the document cannot be read (Russian); the rest is then empty
};

// Reads the document at Path through, counting its games.
TResultEntry DescribeResult(const std::string &Path);

// The results list: its header, and the cells of Entry (date, kind, players, games, score).
std::vector<std::string> ResultListHeader();
std::vector<std::string> ResultListRow(const TResultEntry &Entry, const std::string &DecimalSeparator);

}  // namespace velkaran
