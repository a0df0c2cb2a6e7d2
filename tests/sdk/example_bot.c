/*
 * An example bot in plain C99, built from nothing but the SDK header.
 *
 * It chooses the five cheap attacks, the base repairs and the pass, and on each turn plays
 * the first card it can afford, in the order of its set: a repair when its base is low,
 * otherwise the strongest attack it can pay for.
 */
#include <velkaran/bot.h>

#include <string.h>

/* The set, strongest attack first; the repairs are played only when the base is low. */
static const int32_t ChosenSet[CardSetSize] = {14, 13, 11, 10, 9, 8, 7, 5, 4, 1, 2, 3, 18, 20, 50};

/* Below this base the bot repairs first. */
enum { LowBase = 20 };

static int IsRepair(int32_t Card) { return Card == 18 || Card == 20; }

VELKARAN_EXPORT const char *GetName(void) { return "Example C99 bot"; }

/* Chooses the set at the start; at the end (CardSet NULL) Info->Result tells the outcome, which
 * this bot does not need. */
VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet != NULL) memcpy(CardSet->Card, ChosenSet, sizeof ChosenSet);
}

/* Plays the first affordable repair when the base is low, else the first affordable attack. */
VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    int32_t Seat = PlayerIndex == 1 ? 1 : 0;
    int I;
    (void)Info;
    if (Playable == NULL) return 0; /* nothing affordable: the answer is ignored */
    if (View->Player[Seat].Base < LowBase)
        for (I = 0; I < CardSetSize && Playable->Card[I] != 0; ++I)
            if (IsRepair(Playable->Card[I])) return Playable->Card[I];
    for (I = 0; I < CardSetSize && Playable->Card[I] != 0; ++I)
        if (!IsRepair(Playable->Card[I])) return Playable->Card[I];
    return Playable->Card[0];
}
