// A game interface that shows nothing: for headless runs between two bots.
#pragma once

#include "game_interface.h"

namespace velkaran {

// Shows nothing and asks no one. Should a human seat reach it, it chooses no cards and plays
// no card, so that seat loses by error instead of hanging.
class QuietGameInterface final : public GameInterface {
public:
    void ShowGameInterface() override {}
    void SetPlayerNames(const char *, const char *) override {}
    void StartGame(int32_t, TCardList *, const TTurnInfo *) override {}
    int32_t GetTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) override { return 0; }
    void ShowGame(const TGameView *, int32_t, const TTurnInfo *) override {}
    void HideGameInterface() override {}
};

}  // namespace velkaran
