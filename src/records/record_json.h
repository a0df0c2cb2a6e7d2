// A game record as JSON, and back, checked field by field.
#pragma once

#include "game_record.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace velkaran {

// The record as a JSON object: place, seats (file, name, set, times, production), options,
// result, termination, rounds, moves, faults and final statuses; and the start position ("start",
// both statuses) only when it is not the standard start.
nlohmann::json RecordToJson(const TGameRecord &Record);

// The record that Json holds, or nothing with the reason in Error when a field is missing, of the
// wrong type or out of its range. The moves are not replayed here (see CheckReplay).
std::optional<TGameRecord> RecordFromJson(const nlohmann::json &Json, std::string &Error);

}  // namespace velkaran
