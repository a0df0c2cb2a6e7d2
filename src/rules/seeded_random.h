// A pseudo-random sequence fixed by its seed alone, the same on every machine, compiler and
// standard library: xoshiro256** (D. Blackman and S. Vigna, "Scrambled linear pseudorandom number
// generators", 2021), its state filled by splitmix64 from the seed.
#pragma once

#include <cstdint>

namespace velkaran {

// The splitmix64 output function: a bijective mix of 64 bits.
constexpr uint64_t MixBits(uint64_t Value) {
    Value = (Value ^ (Value >> 30)) * 0xBF58476D1CE4E5B9ull;
    Value = (Value ^ (Value >> 27)) * 0x94D049BB133111EBull;
    return Value ^ (Value >> 31);
}

class TSeededRandom {
public:
    explicit constexpr TSeededRandom(uint64_t Seed) {
        for (uint64_t &Word : State) {
            Seed += 0x9E3779B97F4A7C15ull;  // splitmix64
            Word = MixBits(Seed);
        }
    }

    // The next 64 bits of the sequence.
    constexpr uint64_t Next() {
        const uint64_t Result = RotateLeft(State[1] * 5, 7) * 9;
        const uint64_t Shifted = State[1] << 17;
        State[2] ^= State[0];
        State[3] ^= State[1];
        State[1] ^= State[2];
        State[0] ^= State[3];
        State[2] ^= Shifted;
        State[3] = RotateLeft(State[3], 45);
        return Result;
    }

    // A number from 0 to Bound - 1 (Bound > 0), every one equally likely: draws below 2^64 mod
    // Bound are drawn again, so that the rest divides evenly.
    constexpr uint64_t Below(uint64_t Bound) {
        const uint64_t Skip = (0 - Bound) % Bound;
        uint64_t Draw = Next();
        while (Draw < Skip) Draw = Next();
        return Draw % Bound;
    }

private:
    static constexpr uint64_t RotateLeft(uint64_t Value, int Bits) {
        return (Value << Bits) | (Value >> (64 - Bits));
    }

    uint64_t State[4] = {};
};

}  // namespace velkaran
