// Counting a match's games: per player and seat, by termination, by pair, and their move times.
#include "match_summary.h"

#include "records/refusal.h"

#include "match/game_points.h"

#include <cassert>

namespace velkaran {

double ScorePercent(const TResultCounts &Counts) {
    if (Counts.Games <= 0) return 0;
    const double Score = static_cast<double>(Counts.Wins) + 0.5 * static_cast<double>(Counts.Draws);
    return 100.0 * Score / static_cast<double>(Counts.Games);
}

namespace {

void Count(TResultCounts &Counts, double Points, uint32_t GamePoints) {
    ++Counts.Games;
    Counts.Wins += Points == 1;
    Counts.Draws += Points == 0.5;
    Counts.Losses += Points == 0;
    Counts.Points += GamePoints;
}

}  // namespace

void TMatchSummary::Add(const TGameRecord &Record, const std::array<int, 2> &PlayerOfSeat,
                        const std::vector<double> &MoveTimesMs) {
    assert(PlayerOfSeat[0] + PlayerOfSeat[1] == 1 && "each player sits in one seat");
    const TGamePoints Points = GamePoints(Record);
    const std::array<uint32_t, 2> SeatGamePoints{Points.First, Points.Second};
    TGameRow Row{Record.Place.Number,
                 static_cast<int8_t>(PlayerOfSeat[0]),
                 -1,
                 Record.Termination,
                 Record.Rounds,
                 LossDetail(Record, TLanguage::Russian),
                 GaveUpMove(Record)};
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const auto Index = static_cast<std::size_t>(Seat);
        TPlayerSummary &Player = Players_[static_cast<std::size_t>(PlayerOfSeat[Index])];
        const double SeatScore = SeatPoints(Record, Seat);
        Count(Player.All, SeatScore, SeatGamePoints[Index]);
        Count(Player.AsSeat[Index], SeatScore, SeatGamePoints[Index]);
        if (SeatScore == 0) {
            ++Player.LostBy[static_cast<std::size_t>(Record.Termination)];
            Player.GaveUp += Row.GaveUp;
        }
        if (SeatScore == 1) Row.Winner = static_cast<int8_t>(PlayerOfSeat[Index]);
        Player.ThinkingMs += Record.Seats[Index].TimeMs;
        Player.Moves += static_cast<int64_t>((Record.Moves.size() + 1 - Index) / 2);  // seat 0 moves first
    }
    for (std::size_t Move = 0; Move < MoveTimesMs.size(); ++Move)
        Players_[static_cast<std::size_t>(PlayerOfSeat[Move % 2])].MoveTimes.Add(MoveTimesMs[Move]);
    ++Terminations_[static_cast<std::size_t>(Record.Termination)];
    Rows.push_back(Row);
    CountPair(Record, SeatPoints(Record, PlayerOfSeat[0] == 0 ? 0 : 1));
}

void TMatchSummary::CountPair(const TGameRecord &Record, double FirstPlayerPoints) {
    const int64_t Pair = Record.Place.Pair;
    if (Pair < 0) return;
    const auto Index = static_cast<std::size_t>(Pair);
    if (Record.Place.Leg == 0) {
        if (FirstLegs.size() <= Index) FirstLegs.resize(Index + 1);
        FirstLegs[Index] = {true, GameFingerprint(Record), FirstPlayerPoints};
        return;
    }
    if (Index >= FirstLegs.size() || !FirstLegs[Index].Played) return;  // its first game is missing
    TFirstLeg &First = FirstLegs[Index];
    if (AddPair(Pairs_, First.FirstPlayerPoints, FirstPlayerPoints))
        PairHistory_.push_back({First.FirstPlayerPoints, FirstPlayerPoints});
    First.Played = false;  // a pair counts once
    if (Census_.Add(StartFingerprint(Record.Start), First.Fingerprint, GameFingerprint(Record)))
        AddPair(DistinctPairs, First.FirstPlayerPoints, FirstPlayerPoints);
}

}  // namespace velkaran
