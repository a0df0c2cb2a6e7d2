// A test bot that misbehaves in the way chosen when it is built:
//   BOT_CRASH      dereferences a null pointer in GetTurn of round 3, from game BOT_CRASH on
//   BOT_RECURSE    recurses without end in GetTurn of round 2
//   BOT_THROW      throws a C++ exception from the opening StartGame
//   BOT_EXIT       calls exit(0) in GetTurn of round 2
//   BOT_CHATTY     prints to stdout in every call (and plays well otherwise)
//   BOT_NO_GET_TURN  leaves out GetTurn
//   BOT_CRASH_IN_NAME  dereferences a null pointer in GetName
//   BOT_HANG       never returns from GetTurn of round 2
//   BOT_HANG_IN_NAME   never returns from GetName
// Otherwise (and before it misbehaves) it holds cards 36 to 50 and passes with card 50.
#include <velkaran/bot.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <unistd.h>

#ifndef BOT_NAME
#define BOT_NAME "Misbehaving"
#endif

namespace {

[[maybe_unused]] volatile int *NullTarget = nullptr;
int GamesStarted = 0;  // opening StartGame calls so far

// Deeper and deeper until the stack runs out (Depth never goes negative before that).
[[maybe_unused]] int Recurse(int Depth) {
    volatile char Frame[512];
    Frame[0] = static_cast<char>(Depth);
    if (Depth < 0) return 0;
    return Recurse(Depth + 1) + Frame[0];
}

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) {
#ifdef BOT_CRASH_IN_NAME
    if (*NullTarget == 0) return "";
#endif
#ifdef BOT_HANG_IN_NAME
    for (;;) pause();
#endif
    return BOT_NAME;
}

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)Info;
#ifdef BOT_CHATTY
    std::printf("chatter: StartGame %d\n", PlayerIndex);
#endif
#ifdef BOT_THROW
    if (CardSet != nullptr) throw std::runtime_error("the test bot gives up");
#endif
    (void)PlayerIndex;
    if (CardSet == nullptr) return;
    ++GamesStarted;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = 36 + Entry;
}

#ifndef BOT_NO_GET_TURN
VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)View;
    (void)Playable;
#ifdef BOT_CHATTY
    std::printf("chatter: GetTurn round %d\n", Info->Turn);
#endif
#ifdef BOT_CRASH
    if (Info->Turn == 3 && GamesStarted >= BOT_CRASH) return *NullTarget;
#endif
#ifdef BOT_RECURSE
    if (Info->Turn == 2) return Recurse(0);
#endif
#ifdef BOT_EXIT
    if (Info->Turn == 2) std::exit(0);
#endif
#ifdef BOT_HANG
    if (Info->Turn == 2)
        for (;;) pause();
#endif
    (void)Info;
    return 50;
}
#endif

}  // extern "C"
