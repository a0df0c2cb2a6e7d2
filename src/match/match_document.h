// The JSON document of a match: its configuration, then every game's record.
#pragma once

#include "match_runner.h"

#include <nlohmann/json.hpp>

namespace velkaran {

// The members before the games: "format" "velkaran-match", "version" and "config" (the two bots by
// file and name, one game or a series of N + N, the turn limit and the options word; the move
// limit and the start positions only when they were asked for).
nlohmann::json MatchDocumentHead(const TMatchSettings &Settings);

// The members after the games: whether the match was played to its end.
nlohmann::json MatchDocumentTail(bool Complete);

}  // namespace velkaran
