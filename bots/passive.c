/* Passive: a baseline bot that never attacks. It repairs whenever it can pay for a repair
 * and passes with card 50 otherwise. */
#include <velkaran/bot.h>

#include <stddef.h>

/* Repairs first (the order is the order of preference), then the pass. */
static const int32_t PassiveCards[CardSetSize] = {22, 21, 17, 20, 16, 18, 15, 19, 33, 34, 35, 39, 40, 38, 50};

enum { PassCard = 50, LastRepairCard = 22, FirstRepairCard = 15 };

static int IsRepair(int32_t Card) { return Card >= FirstRepairCard && Card <= LastRepairCard; }

static int IsPlayable(const TCardList *Playable, int32_t Card) {
    for (int i = 0; i < CardSetSize; ++i)
        if (Playable->Card[i] == Card) return 1;
    return 0;
}

VELKARAN_EXPORT const char *GetName(void) { return "Passive"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet == NULL) return;
    for (int i = 0; i < CardSetSize; ++i) CardSet->Card[i] = PassiveCards[i];
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)View;
    (void)Info;
    if (Playable == NULL) return PassCard;
    for (int i = 0; i < CardSetSize; ++i) {
        int32_t Card = PassiveCards[i];
        if (IsRepair(Card) && IsPlayable(Playable, Card)) return Card;
    }
    return PassCard;
}
