// What the games of a tournament come to, counted as they finish, in any order.
#pragma once

#include "index_ranges.h"
#include "schedule.h"

#include "match/match_tally.h"
#include "records/game_record.h"
#include "records/pair_census.h"
#include "stats/move_times.h"
#include "stats/pentanomial.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velkaran {

// One encounter, from A's side (player 0 of its tally is A).
struct TEncounterResults {
    TMatchTally Tally;                 // wins, errors, points and statistics, as a series between A and B
    TPentanomial Pentanomial;          // the pairs by A's points in them
    TPairCensus Census;                // how many of the pairs differed, from how many start positions
    TPentanomial DistinctPentanomial;  // the pairs that differed from every one before them
};

// One bot over all its games.
struct TBotResults {
    int64_t Games = 0, Wins = 0, Draws = 0, Losses = 0;
    uint64_t Points = 0;                           // the series text's points, summed
    std::array<int64_t, TerminationKinds> Lost{};  // games it lost, by how they ended
    std::array<int64_t, CardCount + 1> CardUses{};
    TMoveTimeHistogram MoveTimes;
};

class TTournamentResults {
public:
    explicit TTournamentResults(const TTournamentConfig &Config);

    // Counts a finished game of the schedule. False (nothing counted, the reason in Error) when
    // the record does not belong to the schedule, was counted already, names other bots, or did
    // not start from its pair's start position.
    bool Add(const TGameRecord &Record, std::string &Error);
    // Counts the thinking time of each move of a counted game (seat 0's moves first in each round).
    void AddMoveTimes(const TGameRecord &Record, const std::vector<double> &MoveTimesMs);

    const TSchedule &Schedule() const { return Schedule_; }
    const TTournamentConfig &Config() const { return Config_; }
    int64_t GamesDone() const { return Done.Count(); }
    // The different start positions the counted games began from.
    int64_t PositionsPlayed() const { return static_cast<int64_t>(PlayedStarts.size()); }
    // The schedule's indices of the games counted.
    const TIndexRanges &DoneGames() const { return Done; }
    const std::vector<TEncounterResults> &Encounters() const { return Encounters_; }
    const std::vector<TBotResults> &Bots() const { return Bots_; }

    // The thinking-time histograms, which the records do not hold, for a saved tournament.
    nlohmann::json MoveTimesToJson() const;
    // Adds the thinking-time histograms of a saved tournament (or of a shard of it) to these;
    // false with Error, and nothing changed, when they do not fit.
    bool AddSavedMoveTimes(const nlohmann::json &Json, std::string &Error);

private:
    // The first leg of a pair whose second has not finished yet.
    struct TPendingLeg {
        double PointsA = 0;
        uint64_t Fingerprint = 0;
    };

    void CountPair(int32_t Encounter, int64_t PairKey, const TGameRecord &Record, uint64_t Start);

    TTournamentConfig Config_;
    TSchedule Schedule_;
    TIndexRanges Done;
    std::vector<TEncounterResults> Encounters_;
    std::vector<TBotResults> Bots_;
    std::unordered_map<int64_t, TPendingLeg> Pending;  // by the index of the pair's first game
    std::unordered_set<uint64_t> PlayedStarts;         // the start positions' fingerprints
};

}  // namespace velkaran
