// A well-behaved C++ test bot that uses what C++ bots commonly use, to show that the sandbox lets
// them play unchanged: its card set comes from "threaded.data/set.txt" in the run folder, read
// with an ifstream while the library loads (the order of preference; a fixed set when the file
// is missing); each move is chosen by two std::threads, each scanning half of the playable cards;
// a move without a playable card of the set is signalled with an exception, caught; and each game
// start is announced on std::cerr.
#include <velkaran/bot.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

constexpr int32_t PassCard = 50;

// The set, in the order of preference: attacks first, unless the data file says otherwise.
std::array<int32_t, CardSetSize> Preference{1, 2, 14, 23, 24, 25, 27, 28, 29, 32, 48, 33, 34, 35, 50};

// Reads the set from the data folder beside this library (in the run folder), when there is one.
struct TSetFromData {
    TSetFromData() {
        std::ifstream In("threaded.data/set.txt");
        std::array<int32_t, CardSetSize> Read{};
        for (int32_t &Card : Read)
            if (!(In >> Card)) return;
        Preference = Read;
    }
} SetFromData;

// The rank (in Preference) of the best playable card among Playable[From, To), or CardSetSize.
int BestRank(const TCardList &Playable, int From, int To) {
    int Best = CardSetSize;
    for (int I = From; I < To; ++I) {
        const auto Found = std::find(Preference.begin(), Preference.end(), Playable.Card[I]);
        if (Found != Preference.end()) Best = std::min(Best, static_cast<int>(Found - Preference.begin()));
    }
    return Best;
}

int32_t ChooseCard(const TCardList &Playable) {
    int Ranks[2] = {CardSetSize, CardSetSize};
    std::thread Low([&] { Ranks[0] = BestRank(Playable, 0, CardSetSize / 2); });
    std::thread High([&] { Ranks[1] = BestRank(Playable, CardSetSize / 2, CardSetSize); });
    Low.join();
    High.join();
    const int Best = std::min(Ranks[0], Ranks[1]);
    if (Best == CardSetSize) throw std::runtime_error("no card of the set is playable");
    return Preference[Best];
}

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) { return "Threaded"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)Info;
    if (CardSet == nullptr) return;
    std::ostringstream Line;
    Line << "threaded: a game as player " << PlayerIndex + 1 << ", first choice " << Preference[0];
    std::cerr << Line.str() << std::endl;
    std::copy(Preference.begin(), Preference.end(), CardSet->Card);
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)View;
    (void)Info;
    if (Playable == nullptr) return PassCard;
    try {
        return ChooseCard(*Playable);
    } catch (const std::runtime_error &) {
        return PassCard;
    }
}

}  // extern "C"
