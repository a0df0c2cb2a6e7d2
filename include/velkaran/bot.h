/*
 * velkaran/bot.h - the Velkaran bot SDK.
 *
 * A bot is a shared library (on Linux a "*.so" file in the host's current
 * directory) that exports three functions with C linkage and the platform's
 * standard calling convention (System V on x86-64):
 *
 *   const char *GetName(void);
 *   void        StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info);
 *   int32_t     GetTurn(int32_t PlayerIndex, const TGameView *View,
 *                       const TCardList *Playable, const TTurnInfo *Info);
 *
 * Conventions:
 * - Every integer is a signed 32-bit two's-complement value (int32_t), little-endian.
 *   Records are packed exactly as laid out below; the sizes and offsets are
 *   checked at compile time, so host and bot cannot drift apart.
 * - Texts are zero-terminated single-byte strings.
 * - Ownership: the host owns every record it passes. A bot reads (or, for the
 *   card set, fills) a record only during the call and must not keep a pointer
 *   to it. The host never frees or changes the text that GetName returns.
 * - Errors travel as game outcomes, not return codes: an invalid card set or a
 *   refused card loses the game (ErrorOrPass); in a game between two bots a
 *   single GetTurn call longer than 20000 ms loses it (TimeLimitExceeded).
 * - For one seat the calls of a game come in this order: StartGame (start),
 *   one GetTurn per round, StartGame (end); at each step the first player
 *   (PlayerIndex 0) is called before the second. A library stays loaded for
 *   the whole run and serves many games, each opened and closed by StartGame.
 * - All calls come from one host thread, one at a time. The same library may
 *   sit in both seats of a game; PlayerIndex then tells the seats apart.
 * - Every GetTurn call is timed around the bot's own function, including
 *   calls that only inform.
 * - Each bot library runs in a worker process of its own (velkaran-bot-worker),
 *   started in the host's current directory. Whatever the bot prints reaches
 *   the host's stderr, each line after the library's file name. A bot that
 *   crashes, exits, or does not answer a call within 22000 ms loses that game
 *   (by error, or by the time limit when a GetTurn hung) and the next game
 *   starts in a fresh process: its globals then start anew.
 * - Build a bot with -fPIC -shared.
 *
 * This header is plain C (C99) and may be included from C++.
 */
#ifndef VELKARAN_BOT_H
#define VELKARAN_BOT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------ */
/* Fixed numbers of the game                                           */
/* ------------------------------------------------------------------ */

enum {
    CardCount = 50,    /* cards are numbered 1..50; 0 means "no card" */
    CardSetSize = 15,  /* a player's set and the playable list hold 15 entries */
    MaxNameLength = 30 /* a bot name has at most 30 characters */
};

/* ------------------------------------------------------------------ */
/* The options word (TTurnInfo.Options)                                */
/* ------------------------------------------------------------------ */

enum {
    TurnLimitMask = 0xFFFF,        /* bits 0..15: rounds after which the game is a draw */
    HiddenInformation = 0x10000,   /* opponent hidden behind a shield of 21 or more */
    BotsOnly = 0x10000000,         /* no human plays; the 20000 ms move limit applies */
    ShowFinalPosition = 0x20000000 /* with BotsOnly: the final position is shown to the user */
};

/* ------------------------------------------------------------------ */
/* Result codes (TTurnInfo.Result in the closing StartGame call)       */
/* ------------------------------------------------------------------ */

/* A game ends with exactly one of 1, 2, 4, 17, 18, 33 or 34. The closing
 * StartGame call adds ReceiverWon for the player that won. */
enum {
    FirstPlayerLost = 1,   /* the first player (index 0) lost */
    SecondPlayerLost = 2,  /* the second player (index 1) lost */
    TurnLimitReached = 4,  /* draw: the turn limit was reached */
    ReceiverWon = 8,       /* only in the copy a player receives: you won */
    ErrorOrPass = 16,      /* the loser chose an invalid set or a refused card */
    TimeLimitExceeded = 32 /* the loser's move took longer than 20000 ms */
};

/* ------------------------------------------------------------------ */
/* Records                                                              */
/* ------------------------------------------------------------------ */

/* 15 card numbers (60 bytes). In StartGame at the start of a game: cleared by
 * the host, filled by the bot with 15 different cards from 1 to 50. In GetTurn:
 * the cards the bot can play now, in the order of its set, the rest 0. */
typedef struct TCardList {
    int32_t Card[15];
#ifdef __cplusplus
    int32_t &operator[](int Index) { return Card[Index]; }
    const int32_t &operator[](int Index) const { return Card[Index]; }
#endif
} TCardList;

/* One player's status as a view shows it (32 bytes). */
typedef struct TPlayerStatus {
    int32_t Base;         /* below 1: the base is destroyed and its owner loses */
    int32_t Shield;       /* absorbs attacks before the base; never below 0 */
    int32_t Batteries;    /* +1 energy per round each */
    int32_t Mines;        /* +1 metal per round each */
    int32_t Laboratories; /* +1 electro-element per round each */
    int32_t Energy;
    int32_t Metal;
    int32_t Elements;
} TPlayerStatus;

/* What the called player may see (64 bytes): entry 0 is always the first
 * player, entry 1 the second; you find yourself at your PlayerIndex. Under
 * HiddenInformation an opponent whose shield is 21 or more shows base 0, the
 * real shield, 0 in the three buildings and -1 in the three resources. */
typedef struct TGameView {
    TPlayerStatus Player[2];
#ifdef __cplusplus
    TPlayerStatus &operator[](int Index) { return Player[Index]; }
    const TPlayerStatus &operator[](int Index) const { return Player[Index]; }
#endif
} TGameView;

/* Turn information (56 bytes). */
typedef struct TTurnInfo {
    int32_t LastMove;      /* card the opponent played last; 0 for none or hidden */
    int32_t Turn;          /* current round, 1 for the first; 0 in the opening StartGame */
    int32_t Reserved1;     /* always 0 */
    int32_t Options;       /* the options word of the game */
    char OpponentName[31]; /* at most 30 characters, zero-padded */
    char Reserved2;        /* always 0 */
    int32_t Result;        /* 0, except in the closing StartGame: the result code */
    int32_t Reserved3;     /* always 0 */
} TTurnInfo;

/* ------------------------------------------------------------------ */
/* Entry points                                                         */
/* ------------------------------------------------------------------ */

/* Called twice per game for each seat. At the start CardSet points to a
 * cleared list that the bot fills with its 15 cards; Info holds Turn 0, the
 * options word and the opponent's name. At the end CardSet is NULL and
 * Info->Result holds the result code as seen by this player, and LastMove the
 * last card any player answered (never hidden). When the first player's set is
 * invalid, the second player receives only the closing call. */
typedef void (*TStartGameProc)(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info);

/* Called once per round for each seat. Returns the card to play: it must be
 * in the bot's set and affordable, or the bot loses (to pass, play card 50).
 * When Playable is NULL the bot can pay for nothing; the call only informs
 * and its result is ignored. */
typedef int32_t (*TGetTurnProc)(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info);

#if defined(__GNUC__)
#define VELKARAN_EXPORT __attribute__((visibility("default")))
#else
#define VELKARAN_EXPORT
#endif

/* The bot's name: at most 30 characters of A-Z a-z 0-9, blank, ( ) + - . _
 * The host reads it right after the call and copies it. */
VELKARAN_EXPORT const char *GetName(void);

/* See TStartGameProc. */
VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info);

/* See TGetTurnProc. */
VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info);

/* ------------------------------------------------------------------ */
/* Layout checks                                                        */
/* ------------------------------------------------------------------ */

/* Every size and offset above is checked when this header is compiled, as C or as C++. */
#if defined(__cplusplus)
#define VELKARAN_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif defined(__GNUC__) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L)
#define VELKARAN_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else /* a C99 compiler without _Static_assert: an array of negative size stops the build */
#define VELKARAN_CHECK_NAME2(line) velkaran_layout_check_##line
#define VELKARAN_CHECK_NAME(line) VELKARAN_CHECK_NAME2(line)
#define VELKARAN_STATIC_ASSERT(cond, msg) typedef char VELKARAN_CHECK_NAME(__LINE__)[(cond) ? 1 : -1]
#endif

VELKARAN_STATIC_ASSERT(sizeof(TCardList) == 60, "TCardList is 60 bytes");
VELKARAN_STATIC_ASSERT(offsetof(TCardList, Card) == 0, "first card at 0");
VELKARAN_STATIC_ASSERT(sizeof(TPlayerStatus) == 32, "TPlayerStatus is 32 bytes");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Base) == 0, "Base at 0");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Shield) == 4, "Shield at 4");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Batteries) == 8, "Batteries at 8");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Mines) == 12, "Mines at 12");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Laboratories) == 16, "Laboratories at 16");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Energy) == 20, "Energy at 20");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Metal) == 24, "Metal at 24");
VELKARAN_STATIC_ASSERT(offsetof(TPlayerStatus, Elements) == 28, "Elements at 28");
VELKARAN_STATIC_ASSERT(sizeof(TGameView) == 64, "TGameView is 64 bytes");
VELKARAN_STATIC_ASSERT(offsetof(TGameView, Player) == 0, "first player at 0");
VELKARAN_STATIC_ASSERT(sizeof(TTurnInfo) == 56, "TTurnInfo is 56 bytes");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, LastMove) == 0, "LastMove at 0");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Turn) == 4, "Turn at 4");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Reserved1) == 8, "reserved at 8");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Options) == 12, "Options at 12");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, OpponentName) == 16, "OpponentName at 16");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Reserved2) == 47, "reserved byte at 47");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Result) == 48, "Result at 48");
VELKARAN_STATIC_ASSERT(offsetof(TTurnInfo, Reserved3) == 52, "reserved at 52");

#ifdef __cplusplus
}
#endif

#endif /* VELKARAN_BOT_H */
