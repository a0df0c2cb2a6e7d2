// Fingerprints of games and start positions (FNV-1a, 64 bits) and the census of pairs.
#include "pair_census.h"

namespace velkaran {
namespace {

constexpr uint64_t FnvBasis = 14695981039346656037ull;

uint64_t Mix(uint64_t Hash, int64_t Value) {
    for (int Byte = 0; Byte < 8; ++Byte) {
        Hash ^= static_cast<uint64_t>(Value >> (8 * Byte)) & 0xFF;
        Hash *= 1099511628211ull;
    }
    return Hash;
}

uint64_t MixStatus(uint64_t Hash, const TPlayerStatus &Status) {
    for (const int32_t Value : {Status.Base, Status.Shield, Status.Batteries, Status.Mines,
                                Status.Laboratories, Status.Energy, Status.Metal, Status.Elements})
        Hash = Mix(Hash, Value);
    return Hash;
}

}  // namespace

uint64_t StartFingerprint(const TStartPosition &Start) {
    return MixStatus(MixStatus(FnvBasis, Start.Sides[0]), Start.Sides[1]);
}

uint64_t GameFingerprint(const TGameRecord &Record) {
    uint64_t Hash = Mix(FnvBasis, static_cast<int64_t>(StartFingerprint(Record.Start)));
    for (const TSeatRecord &Seat : Record.Seats)
        for (const int32_t Card : Seat.Set.Card) Hash = Mix(Hash, Card);
    Hash = Mix(Hash, Record.Result);
    Hash = Mix(Hash, static_cast<int64_t>(Record.Termination));
    Hash = Mix(Hash, Record.Rounds);
    for (const int32_t Move : Record.Moves) Hash = Mix(Hash, Move);
    return Hash == 0 ? 1 : Hash;
}

bool TPairCensus::Add(uint64_t Start, uint64_t FirstGame, uint64_t SecondGame) {
    ++Pairs_;
    SeenStarts.insert(Start);
    const uint64_t Pair =
        Mix(Mix(Mix(FnvBasis, static_cast<int64_t>(Start)), static_cast<int64_t>(FirstGame)),
            static_cast<int64_t>(SecondGame));
    if (SeenPairs.size() >= MostRemembered) return false;
    return SeenPairs.insert(Pair).second;
}

}  // namespace velkaran
