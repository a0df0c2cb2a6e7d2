// The statistics of a tournament, from its counts: standings, ratings, encounters, SPRT.
#pragma once

#include "tournament_results.h"

#include "stats/elo.h"
#include "stats/ratings.h"
#include "stats/sprt.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <vector>

namespace velkaran {

struct TStanding {
    int32_t Bot = 0;
    int64_t Games = 0, Wins = 0, Draws = 0, Losses = 0;
    uint64_t Points = 0;
    double Score = 0;  // (wins + draws / 2) / games, 0..1; 0 without games
    TBotRating Rating;
};

struct TEncounterStatistics {
    int32_t A = 0, B = 0;
    int64_t Games = 0, WinsA = 0, Draws = 0, WinsB = 0;
    int64_t Pairs = 0;          // complete pairs
    int64_t DistinctPairs = 0;  // complete pairs that differed from every one before them
    int64_t Positions = 0;      // the different start positions of the complete pairs
    // Each start position gave one and the same pair every time, and some were played more than
    // once (TPairCensus::Deterministic).
    bool Deterministic = false;
    // Of A over B, from the pairs; from the distinct pairs alone when Deterministic, since the
    // repeated ones tell nothing new.
    TEloEstimate Elo;
};

struct TTournamentStatistics {
    std::vector<TStanding> Standings;  // best first: by rating, then score, then points
    bool RatingsRegularized = false;
    std::vector<TEncounterStatistics> Encounters;
    std::optional<TSprtState> Sprt;
};

// Everything the tables and the JSON show, computed from Results.
TTournamentStatistics ComputeStatistics(const TTournamentResults &Results);

// The statistics as JSON, bots named by their index in the configuration. Nothing in it depends on
// how long the bots thought (see ThinkingTimeToJson), so that two runs of deterministic bots give
// the same text.
nlohmann::json StatisticsToJson(const TTournamentStatistics &Statistics, const TTournamentResults &Results);

// Each bot's thinking time per move: moves, mean, 95th percentile and maximum, in milliseconds.
nlohmann::json ThinkingTimeToJson(const TTournamentResults &Results);

}  // namespace velkaran
