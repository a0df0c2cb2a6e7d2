// What the games of one match (a single game or a series) come to, per player and per seat,
// counted record by record: the numbers behind the desktop program's results view.
#pragma once

#include "records/game_record.h"
#include "records/pair_census.h"
#include "records/termination.h"
#include "stats/elo.h"
#include "stats/move_times.h"
#include "stats/pentanomial.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {

// Games won, drawn and lost, with the series text's points.
struct TResultCounts {
    int64_t Games = 0, Wins = 0, Draws = 0, Losses = 0;
    uint64_t Points = 0;
    friend bool operator==(const TResultCounts &, const TResultCounts &) = default;
};

// (wins + draws / 2) / games in per cent; 0 without games.
double ScorePercent(const TResultCounts &Counts);

// One player of the match (player 1 or 2 of the main window) over its games.
struct TPlayerSummary {
    TResultCounts All;
    std::array<TResultCounts, 2> AsSeat;             // [0] the games it moved first in, [1] second
    std::array<int64_t, TerminationKinds> LostBy{};  // the games it lost, by how they ended
    int64_t GaveUp = 0;            // of those lost by a refused card, the ones where it gave its move up
    TMoveTimeHistogram MoveTimes;  // the thinking time of each of its moves
    double ThinkingMs = 0;         // its thinking time over all its games, as the records count it
    int64_t Moves = 0;             // the moves it made in them
};

// One game of the list, small enough to keep for every game of a long series.
struct TGameRow {
    int64_t Number = 0;
    int8_t FirstPlayer = 0;  // the player (0 or 1) that moved first
    int8_t Winner = -1;      // the player that won; -1 for a draw (or a game without a result)
    TTermination Termination = TTermination::None;
    int32_t Rounds = 0;
    std::string Reason;   // why the loser lost beyond the ending's name (LossDetail); mostly empty
    bool GaveUp = false;  // a refused card that was no card: the loser gave its move up (GaveUpMove)
    friend bool operator==(const TGameRow &, const TGameRow &) = default;
};

class TMatchSummary {
public:
    // Counts Record, a game of the match. PlayerOfSeat[s] is the player that sat in seat s;
    // MoveTimesMs holds the thinking time of each of Record's moves (seat 0's first in each round),
    // or nothing when the times are not known. A series pairs game P of its first half (Place: Pair
    // P, Leg 0) with game P of its second half (Pair P, Leg 1), the seats exchanged.
    void Add(const TGameRecord &Record, const std::array<int, 2> &PlayerOfSeat,
             const std::vector<double> &MoveTimesMs);

    int64_t GamesCounted() const { return static_cast<int64_t>(Rows.size()); }
    const std::array<TPlayerSummary, 2> &Players() const { return Players_; }
    const std::vector<TGameRow> &Games() const { return Rows; }
    // Every counted game by how it ended.
    const std::array<int64_t, TerminationKinds> &Terminations() const { return Terminations_; }

    // The complete pairs by player 1's points in them.
    const TPentanomial &Pairs() const { return Pairs_; }
    // How many complete pairs differed, from how many start positions.
    const TPairCensus &Census() const { return Census_; }
    // True when every start position gave one and the same pair each time, and some position was
    // played more than once (without start positions: two pairs or more, all the same).
    bool Deterministic() const { return Census_.Deterministic(); }
    // Player 1's Elo over player 2 from the complete pairs (Known is false without any); from the
    // distinct pairs alone when Deterministic, since the repeated ones tell nothing new.
    TEloEstimate Elo() const { return EstimateElo(Deterministic() ? DistinctPairs : Pairs_); }
    // Player 1's points in each game of each complete pair (0, 0.5 or 1), in the order the pairs
    // were completed.
    const std::vector<std::array<double, 2>> &PairHistory() const { return PairHistory_; }

private:
    // The first game of a pair, until its second comes.
    struct TFirstLeg {
        bool Played = false;
        uint64_t Fingerprint = 0;  // GameFingerprint
        double FirstPlayerPoints = 0;
    };

    void CountPair(const TGameRecord &Record, double FirstPlayerPoints);

    std::array<TPlayerSummary, 2> Players_;
    std::vector<TGameRow> Rows;
    std::array<int64_t, TerminationKinds> Terminations_{};
    TPentanomial Pairs_;
    TPentanomial DistinctPairs;  // the pairs that differed from every one before them
    TPairCensus Census_;
    std::vector<std::array<double, 2>> PairHistory_;
    std::vector<TFirstLeg> FirstLegs;  // by pair
};

}  // namespace velkaran
