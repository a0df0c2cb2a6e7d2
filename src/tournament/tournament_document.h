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

// Counts Record, a game read back, into Results: it must replay through the rules as it says, be
// played by the bots the schedule puts at its place (file and name), with the tournament's options,
// under its own number, and not be counted before. False with Problem, naming the game and the
// first thing that does not fit, and nothing counted, otherwise.
bool CountSavedGame(TTournamentResults &Results, const TGameRecord &Record, std::string &Problem);

// Says whether reading should stop (Ctrl-C); asked every few hundred games.
using TReadInterrupted = std::function<bool()>;

// Reads the document at Path: checks that it is a tournament's, of this version, with a playable
// configuration; counts every game with CountSavedGame and hands it to OnRecord. Nothing, with
// Error, when any of it fails: the file is then not to be used, nor written over. Nothing with
// Error empty when Interrupted said so.
std::optional<TSavedTournament> ReadTournament(const std::string &Path,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error, const TReadInterrupted &Interrupted = {});

}  // namespace velkaran
