// What can be read off a record without replaying it.
#include "game_record.h"

#include "rules/catalogue.h"

namespace velkaran {

double SeatPoints(const TGameRecord &Record, int32_t Seat) {
    const int32_t Lost = Seat == 0 ? FirstPlayerLost : SecondPlayerLost;
    const int32_t Won = Seat == 0 ? SecondPlayerLost : FirstPlayerLost;
    if (HasFlags(Record.Result, Lost)) return 0;
    if (HasFlags(Record.Result, Won)) return 1;
    return 0.5;
}

std::array<int64_t, CardCount + 1> CardUses(const TGameRecord &Record, int32_t Seat) {
    std::array<int64_t, CardCount + 1> Uses{};
    ForEachPlayedCard(Record, Seat, [&Uses](int32_t Card) { ++Uses[static_cast<std::size_t>(Card)]; });
    return Uses;
}

bool SameGame(const TGameRecord &A, const TGameRecord &B) {
    return A.Start == B.Start && A.Seats[0].Set == B.Seats[0].Set && A.Seats[1].Set == B.Seats[1].Set &&
           A.Options == B.Options && A.Result == B.Result && A.Termination == B.Termination &&
           A.Rounds == B.Rounds && A.Moves == B.Moves;
}

}  // namespace velkaran
