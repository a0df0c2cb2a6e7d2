/* Greedy: every turn it plays the card that does the most damage right now (shield and base
 * points taken from the opponent), never saves and never repairs. It passes with card 50 when
 * nothing it can pay for does damage. Looks only at the opponent's shield, which is always
 * visible, so hidden information does not bother it. */
#include <velkaran/bot.h>

#include <stddef.h>

/* How a card hurts the opponent. */
typedef enum {
    Pass,       /* no damage */
    Attack,     /* strength Value: the shield absorbs first, the rest hits the base */
    BaseHit,    /* the base loses Value, the shield is ignored */
    Unshielded, /* the base loses Value only when the shield is 0 */
    ShieldBase  /* the shield loses up to Extra (stops at 0), then the base loses Value */
} DamageKind;

typedef struct {
    int32_t Card;
    DamageKind Kind;
    int32_t Value;
    int32_t Extra;
    int32_t Cost; /* energy + metal + elements, to prefer the cheaper of two equal cards */
} GreedyCard;

static const GreedyCard GreedyCards[CardSetSize] = {
    {1, Attack, 5, 0, 4},       {2, Attack, 5, 0, 4},         {3, Attack, 5, 0, 5},
    {4, Attack, 7, 0, 8},       {5, Attack, 8, 0, 8},         {6, Attack, 8, 0, 10},
    {7, Attack, 10, 0, 13},     {8, Attack, 10, 0, 12},       {9, Attack, 10, 0, 13},
    {23, BaseHit, 3, 0, 4},     {24, BaseHit, 7, 0, 11},      {25, BaseHit, 7, 0, 10},
    {27, Unshielded, 11, 0, 7}, {28, ShieldBase, 10, 10, 22}, {50, Pass, 0, 0, 0},
};

enum { PassCard = 50 };

/* Damage to the opponent's base and shield, given its shield. */
static void Damage(const GreedyCard *Card, int32_t Shield, int32_t *BaseLoss, int32_t *ShieldLoss) {
    *BaseLoss = 0;
    *ShieldLoss = 0;
    switch (Card->Kind) {
        case Pass:
            break;
        case Attack:
            *ShieldLoss = Shield >= Card->Value ? Card->Value : Shield;
            *BaseLoss = Card->Value - *ShieldLoss;
            break;
        case BaseHit:
            *BaseLoss = Card->Value;
            break;
        case Unshielded:
            *BaseLoss = Shield == 0 ? Card->Value : 0;
            break;
        case ShieldBase:
            *ShieldLoss = Shield >= Card->Extra ? Card->Extra : Shield;
            *BaseLoss = Card->Value;
            break;
    }
}

static const GreedyCard *FindCard(int32_t Card) {
    for (int i = 0; i < CardSetSize; ++i)
        if (GreedyCards[i].Card == Card) return &GreedyCards[i];
    return NULL;
}

VELKARAN_EXPORT const char *GetName(void) { return "Greedy"; }

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet == NULL) return;
    for (int i = 0; i < CardSetSize; ++i) CardSet->Card[i] = GreedyCards[i].Card;
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)Info;
    if (Playable == NULL) return PassCard;
    int32_t Shield = View->Player[PlayerIndex == 0 ? 1 : 0].Shield;
    int32_t Best = PassCard, BestTotal = 0, BestBase = 0, BestCost = 0;
    for (int i = 0; i < CardSetSize && Playable->Card[i] != 0; ++i) {
        const GreedyCard *Card = FindCard(Playable->Card[i]);
        if (Card == NULL) continue;
        int32_t BaseLoss, ShieldLoss;
        Damage(Card, Shield, &BaseLoss, &ShieldLoss);
        int32_t Total = BaseLoss + ShieldLoss;
        int Better = Total > BestTotal || (Total == BestTotal && BaseLoss > BestBase) ||
                     (Total == BestTotal && BaseLoss == BestBase && Card->Cost < BestCost);
        if (Total > 0 && Better) {
            Best = Card->Card;
            BestTotal = Total;
            BestBase = BaseLoss;
            BestCost = Card->Cost;
        }
    }
    return Best;
}
