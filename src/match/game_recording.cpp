// From the game loop's result to a record, and back to the statistics the report needs.
#include "game_recording.h"

namespace velkaran {
namespace {

void FillSeat(TSeatRecord &Seat, const TSeatLabel &Label, const TPlayer &Player, double LongestMoveMs) {
    Seat.File = Label.File;
    Seat.Name = Label.Name;
    Seat.Set = Player.Cards;
    Seat.TimeMs = Player.Statistics.TotalTime;
    Seat.LongestMoveMs = LongestMoveMs;
    Seat.ProducedEnergy = Player.Statistics.TotalEnergy;
    Seat.ProducedMetal = Player.Statistics.TotalMetal;
    Seat.ProducedElements = Player.Statistics.TotalElements;
}

}  // namespace

void FillRecord(TGameRecord &Record, const TGameResult &Result, const TGamePlace &Place,
                const TSeatLabel &First, const TSeatLabel &Second) {
    Record.Place = Place;
    FillSeat(Record.Seats[0], First, Result.FinalState[0], Result.LongestMoveMs[0]);
    FillSeat(Record.Seats[1], Second, Result.FinalState[1], Result.LongestMoveMs[1]);
    Record.Options = Result.FinalInfo.Options;
    Record.Result = Result.Result;
    Record.Termination = Result.Termination;
    Record.Start = Result.Start;
    Record.Rounds = Result.FinalInfo.Turn;
    Record.Moves = Result.Moves;
    Record.Faults = Result.Faults;
    Record.Final = {Result.FinalState[0], Result.FinalState[1]};
    Record.RefusedSet = Result.RefusedSet;
}

void AddSeatStatistics(TStatisticsTotal &Total, const TGameRecord &Record, int32_t Seat) {
    const TSeatRecord &Of = Record.Seats[static_cast<std::size_t>(Seat)];
    Total.TotalEnergy += static_cast<uint32_t>(Of.ProducedEnergy);
    Total.TotalMetal += static_cast<uint32_t>(Of.ProducedMetal);
    Total.TotalElements += static_cast<uint32_t>(Of.ProducedElements);
    Total.TotalTime += Of.TimeMs;
    ForEachPlayedCard(Record, Seat, [&Total](int32_t Card) { ++Total.CardUses[Card]; });
}

TPlayerStatistics SeatStatistics(const TGameRecord &Record, int32_t Seat) {
    const TSeatRecord &Of = Record.Seats[static_cast<std::size_t>(Seat)];
    TPlayerStatistics Statistics;
    Statistics.TotalEnergy = Of.ProducedEnergy;
    Statistics.TotalMetal = Of.ProducedMetal;
    Statistics.TotalElements = Of.ProducedElements;
    Statistics.TotalTime = Of.TimeMs;
    ForEachPlayedCard(Record, Seat, [&Statistics](int32_t Card) { ++Statistics.CardUses[Card]; });
    return Statistics;
}

}  // namespace velkaran
