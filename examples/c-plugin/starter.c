/*
 * Starter: a bot plug-in in plain C to copy and change. It builds production early, repairs its
 * base when it runs low, and otherwise plays the card that does the most damage this turn, counting
 * what the opponent's shield absorbs.
 *
 * Build: `make` (with the installed SDK), or `cmake -B build && cmake --build build`.
 * Run:   copy starter.so into a folder of bots and `velkaran-match starter.so greedy.so`.
 * Check: `velkaran-check starter.so`.
 */
#include <velkaran/bot.h>

#include <stddef.h>

/* The set: cheap attacks on the shield, attacks past the shield, a heavy attack, a base repair, the
 * three buildings and the pass (card 50 costs nothing, so the bot can always move). */
static const int32_t StarterSet[CardSetSize] = {1, 2, 3, 14, 23, 24, 25, 27, 28, 48, 18, 33, 34, 35, 50};

enum { PassCard = 50, RepairBelow = 20, BuildUntilRound = 10, BaseWeight = 3 };

/* What Card takes from the opponent this turn, given its shield: a point of base counts
 * BaseWeight times a point of shield (a base is what loses the game, a shield grows back). */
static int32_t Damage(int32_t Card, int32_t Shield) {
    int32_t Strength = 0;
    switch (Card) {
        case 23:
            return BaseWeight * 3; /* base -3, past the shield */
        case 24:
        case 25:
            return BaseWeight * 7; /* base -7, past the shield */
        case 48:
            return BaseWeight * 15; /* base -15, past the shield */
        case 27:
            return Shield == 0 ? BaseWeight * 11 : 0; /* base -11 when the shield is down */
        case 28:
            return BaseWeight * 10 + (Shield < 10 ? Shield : 10); /* shield -10, base -10 */
        case 1:
        case 2:
        case 3:
            Strength = 5;
            break;
        case 14:
            Strength = 18;
            break;
        default:
            return 0; /* not an attack */
    }
    /* An attack hits the shield first; what the shield cannot hold hits the base. */
    return Strength <= Shield ? Strength : Shield + BaseWeight * (Strength - Shield);
}

static int IsPlayable(const TCardList *Playable, int32_t Card) {
    for (int i = 0; i < CardSetSize && Playable->Card[i] != 0; ++i)
        if (Playable->Card[i] == Card) return 1;
    return 0;
}

VELKARAN_EXPORT const char *GetName(void) { return "Starter C"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info; /* at the end of a game (CardSet NULL) Info->Result says how it ended */
    if (CardSet == NULL) return;
    for (int i = 0; i < CardSetSize; ++i) CardSet->Card[i] = StarterSet[i];
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    if (Playable == NULL) return 0; /* nothing affordable: this call only informs */
    const TPlayerStatus *Own = &View->Player[PlayerIndex];
    const TPlayerStatus *Foe = &View->Player[1 - PlayerIndex]; /* only the shield is always visible */

    if (Own->Base < RepairBelow && IsPlayable(Playable, 18)) return 18;
    if (Info->Turn <= BuildUntilRound) {
        if (Own->Batteries < 4 && IsPlayable(Playable, 33)) return 33;
        if (Own->Mines < 3 && IsPlayable(Playable, 34)) return 34;
        if (Own->Laboratories < 3 && IsPlayable(Playable, 35)) return 35;
    }
    /* The card that does the most damage now; the pass when nothing does any. */
    int32_t Best = PassCard, BestDamage = 0;
    for (int i = 0; i < CardSetSize && Playable->Card[i] != 0; ++i) {
        const int32_t Value = Damage(Playable->Card[i], Foe->Shield);
        if (Value > BestDamage) {
            Best = Playable->Card[i];
            BestDamage = Value;
        }
    }
    return Best;
}
