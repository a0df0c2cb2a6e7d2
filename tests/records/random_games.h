// Records of games between seeded random players: every way a game can end, for replay and files.
#pragma once

#include "match/game_loop.h"
#include "match/game_recording.h"
#include "players/quiet_game_interface.h"
#include "rules/turn_rules.h"

#include <algorithm>
#include <random>

namespace velkaran::testing {

// A game between two random players of Seed from Begin: sets of 15 distinct cards, moves among the
// playable ones; one seat in ten refuses a card now and then, one in twenty faults in a round.
inline TGameRecord RandomGameRecord(uint32_t Seed, int32_t TurnLimit = 60,
                                    const TStartPosition &Begin = StandardStartPosition()) {
    std::mt19937 Random(Seed);
    const auto Start = Infallible([&Random](int32_t, TCardList *Set, const TTurnInfo *) {
        if (Set == nullptr) return;
        std::vector<int32_t> Cards;
        for (int32_t Card = 1; Card <= CardCount; ++Card) Cards.push_back(Card);
        std::shuffle(Cards.begin(), Cards.end(), Random);
        for (int I = 0; I < CardSetSize; ++I) Set->Card[I] = Cards[static_cast<std::size_t>(I)];
    });
    const bool Refuser = Seed % 10 == 3;
    const bool Faulty = Seed % 20 == 7;
    double Now = 0;  // the clock of the game: each move takes what it adds
    const TGetTurnFn Turn = [&](int32_t Index, const TGameView *, const TCardList *Playable,
                                const TTurnInfo *Info) {
        TTurnAnswer Answer;
        if (Faulty && Index == 1 && Info->Turn == 9) {
            Answer.Outcome = {TCallFault::Crashed, "killed by SIGSEGV (Segmentation fault)", false};
            return Answer;
        }
        if (Playable == nullptr) return Answer;
        if (Refuser && Index == 0 && Random() % 25 == 0) {
            Answer.Card = 999;
            return Answer;
        }
        int Count = 0;
        while (Count < CardSetSize && Playable->Card[Count] != 0) ++Count;
        Answer.Card = Playable->Card[Random() % static_cast<uint32_t>(Count)];
        Now += std::min(1.0, 0.25 * static_cast<double>(Random() % 9));
        return Answer;
    };
    QuietGameInterface Quiet;
    TGameResult Result;
    PlayGame(Start, Start, Turn, Turn,
             TGameOptions{BotsOnly | HiddenInformation | TurnLimit, "Alpha", "Beta", Begin}, Result, Quiet,
             [&Now] { return Now; });
    TGameRecord Record;
    FillRecord(Record, Result, TGamePlace{Seed + 1, 0, Seed / 2, static_cast<int32_t>(Seed % 2)},
               {"alpha.so", "Alpha"}, {"beta.so", "Beta"});
    return Record;
}

}  // namespace velkaran::testing
