/* A test bot whose behaviour is chosen when it is built:
 *   BOT_NAME "text"        the name GetName returns (default "Test bot")
 *   BOT_SECOND_NAME "text" the name from the second GetName call on (a name that changes)
 *   BOT_NULL_NAME          GetName returns a null pointer
 *   BOT_NO_GET_NAME, BOT_NO_START_GAME, BOT_NO_GET_TURN   leave that export out
 *   BOT_INVALID_SET        chooses a set with a card twice
 *   BOT_REFUSED_MOVE       answers every GetTurn with 0, which the rules refuse
 * Otherwise it chooses cards 36 to 50 and plays the first card it can pay for. */
#include <velkaran/bot.h>

#ifndef BOT_NAME
#define BOT_NAME "Test bot"
#endif

#ifndef BOT_NO_GET_NAME
VELKARAN_EXPORT const char *GetName(void) {
#if defined(BOT_NULL_NAME)
    return NULL;
#elif defined(BOT_SECOND_NAME)
    static int Calls = 0;
    return Calls++ == 0 ? BOT_NAME : BOT_SECOND_NAME;
#else
    return BOT_NAME;
#endif
}
#endif

#ifndef BOT_NO_START_GAME
VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet == NULL) return;
    for (int Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = 36 + Entry;
#ifdef BOT_INVALID_SET
    CardSet->Card[1] = CardSet->Card[0];
#endif
}
#endif

#ifndef BOT_NO_GET_TURN
VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)View;
    (void)Info;
#ifdef BOT_REFUSED_MOVE
    (void)Playable;
    return 0;
#else
    return Playable != NULL ? Playable->Card[0] : 0;
#endif
}
#endif
