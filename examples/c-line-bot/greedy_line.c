/*
 * Greedy as a program: the sample plug-in greedy.so, move for move, speaking the Velkaran line
 * protocol on its standard input and output instead of exporting functions. The smallest bot that
 * is not written in Python: any language that reads and writes lines can do the same.
 *
 * Build: `make` (or `cc -O2 -o greedy_line greedy_line.c`); no SDK header is needed.
 * Run:   copy greedy_line and greedy-line.bot into a folder of bots, `velkaran-match greedy-line.bot
 * greedy.so`.
 *
 * The protocol (version 1), one line each way per call:
 *   host: velkaran 1                                   bot: velkaran 1 NAME
 *   host: start P LAST TURN OPTIONS RESULT OPPONENT    bot: set C1 ... C15
 *   host: turn P V1 ... V16 P1 ... P15 LAST TURN OPTIONS RESULT OPPONENT
 *                                                      bot: play CARD
 *   host: end P LAST TURN OPTIONS RESULT OPPONENT      bot: ok
 * Standard output belongs to the protocol: print anything else on standard error.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { SetSize = 15, PassCard = 50, BaseWeight = 3, BuildingGain = 30 };

typedef enum {
    Pass,
    Attack,
    BaseHit,
    Unshielded,
    ShieldBase,
    AttackBase,
    Battery,
    Mine,
    Laboratory
} GainKind;

typedef struct {
    int Card;
    GainKind Kind;
    int Value;
    int Extra;
    int Cost;
} GreedyCard;

static const GreedyCard GreedyCards[SetSize] = {
    {1, Attack, 5, 0, 4},        {2, Attack, 5, 0, 4},         {14, Attack, 18, 0, 21},
    {23, BaseHit, 3, 0, 4},      {24, BaseHit, 7, 0, 11},      {25, BaseHit, 7, 0, 10},
    {27, Unshielded, 11, 0, 7},  {28, ShieldBase, 10, 10, 22}, {29, ShieldBase, 20, 15, 36},
    {32, AttackBase, 5, 25, 34}, {48, BaseHit, 15, 0, 36},     {33, Battery, 6, 0, 15},
    {34, Mine, 6, 0, 15},        {35, Laboratory, 5, 0, 15},   {50, Pass, 0, 0, 0},
};

/* One player in a view: base, shield, batteries, mines, laboratories, energy, metal, elements. */
typedef struct {
    long Base, Shield, Batteries, Mines, Laboratories, Energy, Metal, Elements;
} Status;

static long Min(long A, long B) { return A < B ? A : B; }

static void Damage(const GreedyCard *Card, long Shield, long *BaseLoss, long *ShieldLoss) {
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

static int WantsBuilding(const GreedyCard *Card, const Status *Own) {
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

static const GreedyCard *FindCard(long Card) {
    for (int i = 0; i < SetSize; ++i)
        if (GreedyCards[i].Card == Card) return &GreedyCards[i];
    return NULL;
}

static int ChooseCard(long Player, const Status View[2], const long Playable[SetSize]) {
    const Status *Own = &View[Player == 1 ? 1 : 0];
    const long Shield = View[Player == 1 ? 0 : 1].Shield;
    int Best = PassCard;
    long BestGain = 0, BestBase = 0, BestCost = 0;
    for (int i = 0; i < SetSize && Playable[i] != 0; ++i) {
        const GreedyCard *Card = FindCard(Playable[i]);
        if (Card == NULL) continue;
        long BaseLoss, ShieldLoss;
        Damage(Card, Shield, &BaseLoss, &ShieldLoss);
        const long Gain = WantsBuilding(Card, Own) ? BuildingGain : BaseWeight * BaseLoss + ShieldLoss;
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

/* Reads the next number of a line, moving *At past it. */
static long Next(char **At) { return strtol(*At, At, 10); }

int main(void) {
    char Line[1024];
    if (fgets(Line, sizeof Line, stdin) == NULL || strcmp(Line, "velkaran 1\n") != 0) {
        fprintf(stderr, "greedy_line: the host does not speak protocol version 1\n");
        return 1;
    }
    printf("velkaran 1 Greedy Line\n");
    fflush(stdout);
    while (fgets(Line, sizeof Line, stdin) != NULL) {
        char *At = Line + 5;
        if (strncmp(Line, "turn ", 5) == 0) {
            const long Player = Next(&At);
            Status View[2];
            for (int Seat = 0; Seat < 2; ++Seat) {
                Status *S = &View[Seat];
                S->Base = Next(&At), S->Shield = Next(&At), S->Batteries = Next(&At), S->Mines = Next(&At);
                S->Laboratories = Next(&At), S->Energy = Next(&At), S->Metal = Next(&At),
                S->Elements = Next(&At);
            }
            long Playable[SetSize];
            for (int i = 0; i < SetSize; ++i) Playable[i] = Next(&At);
            /* LAST TURN OPTIONS RESULT OPPONENT follow; this bot does not need them. */
            /* With nothing to pay for the answer does not count, but must come: it passes. */
            printf("play %d\n", Playable[0] == 0 ? PassCard : ChooseCard(Player, View, Playable));
        } else if (strncmp(Line, "start ", 6) == 0) {
            printf("set");
            for (int i = 0; i < SetSize; ++i) printf(" %d", GreedyCards[i].Card);
            printf("\n");
        } else if (strncmp(Line, "end ", 4) == 0) {
            printf("ok\n"); /* the result code is the fifth number: this bot does not learn */
        } else {
            fprintf(stderr, "greedy_line: a line the protocol does not know: %s", Line);
            return 1;
        }
        fflush(stdout);
    }
    return 0;
}
