// Ratings of a whole field of bots from the scores of their encounters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velkaran {

// Games between two bots of the field (numbered from 0): PointsFirst is what First scored over
// Games games, a draw counting half a point.
struct TEncounterScore {
    int First = 0, Second = 0;
    double PointsFirst = 0;
    uint64_t Games = 0;
};

// One bot's rating with its 95 % interval; a bot that played no game is not Rated (all fields 0).
struct TBotRating {
    bool Rated = false;
    double Elo = 0, Lower = 0, Upper = 0;
};

// The ratings of a field, centred so that the ratings of the rated bots sum to 0.
struct TFieldRatings {
    std::vector<TBotRating> Bots;
    // The scores alone fix no finite ratings (some bot or group won or lost every game against the
    // others, or the field falls apart into groups that never met), so one virtual draw was added
    // between every two bots that met (between every two rated bots when the field falls apart).
    bool Regularized = false;
};

// Maximum-likelihood ratings of BotCount bots in the logistic Elo model from Encounters (the same
// two bots may appear in several); on invalid input (a bot number out of range, a bot against
// itself, points outside 0..Games) returns nothing and explains in Error.
std::optional<TFieldRatings> EstimateRatings(int BotCount, std::span<const TEncounterScore> Encounters,
                                             std::string &Error);

}  // namespace velkaran
