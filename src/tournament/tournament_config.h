// What a tournament is: its bots, its format, how many game pairs, the turn limit, an SPRT.
#pragma once

#include "players/content_fingerprint.h"
#include "records/opening_book.h"
#include "stats/sprt_settings.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

enum class TTournamentFormat { RoundRobin, Gauntlet };

// A bot of the tournament, by the library file it is played from.
struct TTournamentBot {
    std::string File;         // the library's file name in the tournament's folder
    std::string Name;         // the name it reported
    std::string Fingerprint;  // the library's content fingerprint (FileFingerprint)
    friend bool operator==(const TTournamentBot &, const TTournamentBot &) = default;
};

struct TTournamentConfig {
    std::vector<TTournamentBot> Bots;
    TTournamentFormat Format = TTournamentFormat::RoundRobin;
    int32_t Gauntlet = 0;  // the bot that plays every other one, for a gauntlet
    int64_t Pairs = 1;     // game pairs per encounter; a pair is two games with the seats exchanged
    int32_t TurnLimit = 200;
    int32_t MoveLimitMs = 20000;        // a slower move loses by the time limit
    TOpeningBook Openings;              // pair P starts from PairStart(Openings, P)
    std::optional<TSprtSettings> Sprt;  // a two-bot match that stops once the test decides
};

// The largest number of game pairs per encounter, and of bots: keeps every game's number far
// inside 64 bits and the counts of every encounter in little memory.
inline constexpr int64_t MaxPairs = 1'000'000'000;
inline constexpr int64_t MaxBots = 1000;

// Why Config cannot be played (fewer than two bots or more than MaxBots, a gauntlet bot out of
// range, pairs out of 1..MaxPairs, a turn or move limit out of its bounds, an SPRT with other than
// two bots); empty if it can.
std::string ConfigProblem(const TTournamentConfig &Config);

// The options word of the tournament's games: bots only, hidden information, the turn limit.
int32_t GameOptions(const TTournamentConfig &Config);

// The configuration as JSON; the move limit and the start positions only when they are not the
// usual ones, so that older documents and plans read as before.
nlohmann::json ConfigToJson(const TTournamentConfig &Config);

// The configuration Json holds, checked as ConfigProblem checks; nothing, with Error, otherwise.
std::optional<TTournamentConfig> ConfigFromJson(const nlohmann::json &Json, std::string &Error);

// Each bot as the tables, texts and JSON show it: its name, or "Name (file.so)" when another bot
// of the tournament reports the same name.
std::vector<std::string> ShownBotNames(const std::vector<TTournamentBot> &Bots);

}  // namespace velkaran
