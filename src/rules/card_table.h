// A fixed table with one entry per card, indexed by the card number 1..50.
#pragma once

#include <velkaran/bot.h>

#include <array>
#include <cassert>
#include <cstdint>

namespace velkaran {

// Entries for cards 1..CardCount; index 0 is not a card and is never looked up.
template <typename T>
struct CardTable {
    std::array<T, CardCount> Entries{};

    constexpr T &operator[](int32_t Card) {
        assert(Card >= 1 && Card <= CardCount && "card number out of range");
        return Entries[static_cast<std::size_t>(Card - 1)];
    }
    constexpr const T &operator[](int32_t Card) const {
        assert(Card >= 1 && Card <= CardCount && "card number out of range");
        return Entries[static_cast<std::size_t>(Card - 1)];
    }
    friend constexpr bool operator==(const CardTable &, const CardTable &) = default;
};

// True when Card names a card of the catalogue (1..50).
constexpr bool IsCardNumber(int32_t Card) { return Card >= 1 && Card <= CardCount; }

}  // namespace velkaran
