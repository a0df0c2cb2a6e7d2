// The game interface: the six functions through which a human plays and a final position is shown.
#pragma once

#include <velkaran/bot.h>

#include <cstdint>

namespace velkaran {

// The seam between the game loop and whatever shows games to the user (VelkUI, a quiet
// stand-in for headless runs, a recording fake in tests). Every function returns.
class GameInterface {
public:
    virtual ~GameInterface() = default;

    // Opens the game window.
    virtual void ShowGameInterface() = 0;
    // Tells the window the two players' names (null for an empty name); "_HUMAN_" for a human.
    virtual void SetPlayerNames(const char *FirstName, const char *SecondName) = 0;
    // A human seat's StartGame, called exactly like a bot's.
    virtual void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) = 0;
    // A human seat's GetTurn, called exactly like a bot's; returns the human's card.
    virtual int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                            const TTurnInfo *Info) = 0;
    // Shows the final position (nothing hidden) until the user closes it; FinalInfo->Result holds
    // the result code of the game.
    virtual void ShowGame(const TGameView *View, int32_t Reserved, const TTurnInfo *FinalInfo) = 0;
    // Before ShowGame: why the loser lost beyond what the result code says (UTF-8, Russian: the
    // call, the round and what the host saw of a fault, or the rules' refusal); null for nothing.
    // A window that cannot show it ignores it.
    virtual void SetOutcomeDetail(const char *Detail) { static_cast<void>(Detail); }
    // Closes the game window.
    virtual void HideGameInterface() = 0;
};

}  // namespace velkaran
