// A tournament's JSON document: configuration, every game record, thinking times, statistics;
// written as the tournament goes, read back to resume it.
#pragma once

#include "tournament_results.h"
#include "tournament_statistics.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velkaran {

inline constexpr char TournamentFormat[] = "velkaran-tournament";
inline constexpr int TournamentDocumentVersion = 1;

// The members before the games: "format", "version", "config".
nlohmann::json TournamentDocumentHead(const TTournamentConfig &Config);

// The members after the games: the thinking times (which the records do not hold), the
// statistics, and whether the tournament was played to its end.
nlohmann::json TournamentDocumentTail(const TTournamentResults &Results, bool Complete);

// A tournament read back from its document.
struct TSavedTournament {
    std::unique_ptr<TTournamentResults> Results;  // every saved game counted, with the thinking times
    bool Complete = false;
};

// Reads the document at Path: checks that it is a tournament's, of this version, with a playable
// configuration; every record is read, checked field by field, replayed through the rules, counted
// (a game of another schedule or a game twice is refused) and handed to OnRecord. Nothing, with
// Error, when any of it fails: the file is then not to be used, nor written over.
std::optional<TSavedTournament> ReadTournament(const std::string &Path,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error);

}  // namespace velkaran
