/* Greedy: every turn it plays the card of its set that gains the most right now, without looking
 * ahead, and never repairs. The gain of an attack is the damage it does at once, where a point
 * taken from the base counts three times a point taken from the shield (a shield grows back
 * cheaply, a base is what loses the game); so the set leans on cards that strike the base past
 * the shield. A building counts as a fixed gain while the bot's production of that kind is below
 * a modest target: better than a small hit, worse than a big one. It passes with card 50 when
 * nothing it can pay for gains anything. Looks only at its own status and the opponent's shield,
 * which are always visible, so hidden information does not bother it. */
#include <velkaran/bot.h>

#include <stddef.h>

/* What a card does for the bot right now. */
typedef enum {
    Pass,       /* nothing */
    Attack,     /* strength Value: the shield absorbs first, the rest hits the base */
    BaseHit,    /* the base loses Value, the shield is ignored */
    Unshielded, /* the base loses Value only when the shield is 0 */
    ShieldBase, /* the shield loses up to Extra (stops at 0), then the base loses Value */
    AttackBase, /* an attack of strength Extra, then the base loses Value */
    Battery,    /* one more battery, worth building while there are fewer than Value */
    Mine,       /* one more mine, likewise */
    Laboratory  /* one more laboratory, likewise */
} GainKind;

typedef struct {
    int32_t Card;
    GainKind Kind;
    int32_t Value;
    int32_t Extra;
    int32_t Cost; /* energy + metal + elements, to prefer the cheaper of two equal cards */
} GreedyCard;

/* Cheap attacks on the shield, attacks past the shield of every size, a big attack, the three
 * buildings and the pass. */
static const GreedyCard GreedyCards[CardSetSize] = {
    {1, Attack, 5, 0, 4},        {2, Attack, 5, 0, 4},         {14, Attack, 18, 0, 21},
    {23, BaseHit, 3, 0, 4},      {24, BaseHit, 7, 0, 11},      {25, BaseHit, 7, 0, 10},
    {27, Unshielded, 11, 0, 7},  {28, ShieldBase, 10, 10, 22}, {29, ShieldBase, 20, 15, 36},
    {32, AttackBase, 5, 25, 34}, {48, BaseHit, 15, 0, 36},     {33, Battery, 6, 0, 15},
    {34, Mine, 6, 0, 15},        {35, Laboratory, 5, 0, 15},   {50, Pass, 0, 0, 0},
};

enum {
    PassCard = 50,
    BaseWeight = 3,   /* a point of base is worth three points of shield */
    BuildingGain = 30 /* a building below its target: more than a hit of 7 on the base */
};

static int32_t Min(int32_t A, int32_t B) { return A < B ? A : B; }

/* Damage to the opponent's base and shield, given its shield. */
static void Damage(const GreedyCard *Card, int32_t Shield, int32_t *BaseLoss, int32_t *ShieldLoss) {
    *BaseLoss = 0;
    *ShieldLoss = 0;
    switch (Card->Kind) {
        case Attack:
            *ShieldLoss = Min(Shield, Card->Value);
            *BaseLoss = Card->Value - *ShieldLoss;
            break;
        case BaseHit:
            *BaseLoss = Card->Value;
            break;
        case Unshielded:
            *BaseLoss = Shield == 0 ? Card->Value : 0;
            break;
        case ShieldBase:
            *ShieldLoss = Min(Shield, Card->Extra);
            *BaseLoss = Card->Value;
            break;
        case AttackBase:
            *ShieldLoss = Min(Shield, Card->Extra);
            *BaseLoss = Card->Extra - *ShieldLoss + Card->Value;
            break;
        default:
            break;
    }
}

/* Whether the bot still wants the building that Card adds. */
static int WantsBuilding(const GreedyCard *Card, const TPlayerStatus *Own) {
    switch (Card->Kind) {
        case Battery:
            return Own->Batteries < Card->Value;
        case Mine:
            return Own->Mines < Card->Value;
        case Laboratory:
            return Own->Laboratories < Card->Value;
        default:
            return 0;
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
    if (Playable == NULL || View == NULL) return PassCard;
    const TPlayerStatus *Own = &View->Player[PlayerIndex == 1 ? 1 : 0];
    const int32_t Shield = View->Player[PlayerIndex == 1 ? 0 : 1].Shield;
    int32_t Best = PassCard, BestGain = 0, BestBase = 0, BestCost = 0;
    for (int i = 0; i < CardSetSize && Playable->Card[i] != 0; ++i) {
        const GreedyCard *Card = FindCard(Playable->Card[i]);
        if (Card == NULL) continue;
        int32_t BaseLoss, ShieldLoss;
        Damage(Card, Shield, &BaseLoss, &ShieldLoss);
        const int32_t Gain = WantsBuilding(Card, Own) ? BuildingGain : BaseWeight * BaseLoss + ShieldLoss;
        const int Better = Gain > BestGain || (Gain == BestGain && BaseLoss > BestBase) ||
                           (Gain == BestGain && BaseLoss == BestBase && Card->Cost < BestCost);
        if (Gain > 0 && Better) {
            Best = Card->Card;
            BestGain = Gain;
            BestBase = BaseLoss;
            BestCost = Card->Cost;
        }
    }
    return Best;
}
