// VelkUI, the game interface through which a human plays: the six functions of the game interface
// it exports, and one the host may call before ShowGame.
#pragma once

#include <velkaran/bot.h>

#include <cstdint>

#if defined(__GNUC__)
#define VELKUI_EXPORT __attribute__((visibility("default")))
#else
#define VELKUI_EXPORT
#endif

// StartGame and GetTurn are exported with the signatures that velkaran/bot.h declares.
extern "C" {
// Opens the game window.
VELKUI_EXPORT void ShowGameInterface(void);
// Sets the two players' names (UTF-8, null for an empty name).
VELKUI_EXPORT void SetPlayerNames(const char *FirstName, const char *SecondName);
// Shows the final position with nothing hidden; returns when the user closes it.
VELKUI_EXPORT void ShowGame(const TGameView *View, int32_t Reserved, const TTurnInfo *FinalInfo);
// Closes the game window.
VELKUI_EXPORT void HideGameInterface(void);
// Not one of the six: before ShowGame, why the loser lost beyond what the result code says (UTF-8;
// null or empty for nothing), shown under the outcome of the next final position only. A host
// looks it up (dlsym) and does without it, since another VelkUI may not offer it.
VELKUI_EXPORT void SetOutcomeDetail(const char *Detail);
}
