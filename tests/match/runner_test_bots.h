// Scripted players for the runner's tests, as plain entry points like a bot library's.
#pragma once

#include "players/bot_library.h"

#include <velkaran/bot.h>

#include <stdexcept>
#include <string>

namespace velkaran::testing {

// What the scripted players saw in their latest StartGame call.
struct TSeenByBots {
    int32_t Options = 0;
    std::string OpponentName;
};
inline TSeenByBots SeenByBots;

inline void RememberStart(const TTurnInfo *Info) {
    SeenByBots.Options = Info->Options;
    SeenByBots.OpponentName = Info->OpponentName;
}

// Cards First .. First + 14 as the set.
inline void ChooseRun(TCardList *CardSet, int32_t First) {
    for (int Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = First + Entry;
}

// Chooses cards 36 to 50 and always passes (card 50).
inline void PasserStart(int32_t, TCardList *CardSet, const TTurnInfo *Info) {
    RememberStart(Info);
    if (CardSet != nullptr) ChooseRun(CardSet, 36);
}
inline int32_t PasserTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; }

// Chooses attacks 1 to 14 and the pass, and plays the first card it can pay for.
inline void StrikerStart(int32_t, TCardList *CardSet, const TTurnInfo *Info) {
    RememberStart(Info);
    if (CardSet == nullptr) return;
    ChooseRun(CardSet, 1);
    CardSet->Card[CardSetSize - 1] = 50;
}
inline int32_t StrikerTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}

// Answers every move with 0, which the rules refuse.
inline int32_t RefuserTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 0; }

// Chooses card 36 twice.
inline void BadSetStart(int32_t, TCardList *CardSet, const TTurnInfo *) {
    if (CardSet == nullptr) return;
    ChooseRun(CardSet, 36);
    CardSet->Card[1] = 36;
}

// Fails inside its first move.
inline int32_t ThrowerTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) {
    throw std::runtime_error("fault inside the bot");
}

inline TBot MakeBot(const std::string &Name, TStartGameProc Start, TGetTurnProc Turn) {
    return TBot{true, Name, Start, Turn, {}};
}
inline TBot Passer() { return MakeBot("Passer", PasserStart, PasserTurn); }
inline TBot Striker() { return MakeBot("Striker", StrikerStart, StrikerTurn); }
inline TBot Refuser() { return MakeBot("Refuser", PasserStart, RefuserTurn); }
inline TBot BadSet() { return MakeBot("Bad set", BadSetStart, PasserTurn); }
inline TBot Thrower() { return MakeBot("Thrower", PasserStart, ThrowerTurn); }

}  // namespace velkaran::testing
