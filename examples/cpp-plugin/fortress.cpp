// Fortress: a bot plug-in in C++ to copy and change. It keeps its shield above 20, which hides its
// base, buildings, resources and last card from the opponent, and strikes with the heaviest attack
// it can pay for while the shield holds.
//
// Build: cmake -B build [-DCMAKE_PREFIX_PATH=<Velkaran's prefix>] && cmake --build build
// Run:   copy build/fortress.so into a folder of bots and `velkaran-match fortress.so greedy.so`.
//
// Nothing may leave an exported function by an exception: the host counts that as a crash. Keep
// the C++ inside, behind the three extern "C" functions.
#include <velkaran/bot.h>

#include <algorithm>
#include <array>
#include <span>

namespace {

// Shield repairs, the attacks from the heaviest down, a base repair, two buildings and the pass.
constexpr std::array<int32_t, CardSetSize> FortressSet = {17, 16, 15, 31, 14, 13, 11, 10,
                                                          8,  7,  4,  21, 33, 35, 50};
constexpr std::array<int32_t, 3> ShieldRepairs = {17, 16, 15};                 // +16, +11, +7
constexpr std::array<int32_t, 9> Attacks = {31, 14, 13, 11, 10, 8, 7, 4, 50};  // heaviest first; 50 passes
constexpr int32_t HidingShield = 21;  // a shield above 20 hides everything else
constexpr int32_t BaseRepair = 21;    // base +14

// The cards of Playable, the zeros after them left out.
std::span<const int32_t> Cards(const TCardList &Playable) {
    const auto *End = std::find(std::begin(Playable.Card), std::end(Playable.Card), 0);
    return {std::begin(Playable.Card), End};
}

bool Has(std::span<const int32_t> Cards, int32_t Card) {
    return std::ranges::find(Cards, Card) != Cards.end();
}

// The first card of Preferred that the bot can play now, or 0.
template <std::size_t N>
int32_t FirstOf(const std::array<int32_t, N> &Preferred, std::span<const int32_t> Playable) {
    for (const int32_t Card : Preferred)
        if (Has(Playable, Card)) return Card;
    return 0;
}

int32_t ChooseCard(const TPlayerStatus &Own, std::span<const int32_t> Playable, int32_t Turn) {
    if (Own.Shield < HidingShield)
        if (const int32_t Repair = FirstOf(ShieldRepairs, Playable)) return Repair;
    if (Own.Base < 20 && Has(Playable, BaseRepair)) return BaseRepair;
    if (Turn < 20 && Own.Batteries < 5 && Has(Playable, 33)) return 33;
    if (Turn < 20 && Own.Laboratories < 4 && Has(Playable, 35)) return 35;
    const int32_t Attack = FirstOf(Attacks, Playable);
    return Attack != 0 ? Attack : Playable.front();
}

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) { return "Fortress C++"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet != nullptr) std::ranges::copy(FortressSet, CardSet->Card);
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    if (Playable == nullptr) return 0;  // nothing affordable: this call only informs
    return ChooseCard((*View)[PlayerIndex], Cards(*Playable), Info->Turn);
}

}  // extern "C"
