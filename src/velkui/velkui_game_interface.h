// The game interface seam served by the VelkUI library's exports.
#pragma once

#include "players/game_interface.h"
#include "velkui.h"

#include <dlfcn.h>

namespace velkaran {

// Forwards every call to the function of the same name that libVelkUI.so exports.
class VelkUiGameInterface final : public GameInterface {
public:
    void ShowGameInterface() override { ::ShowGameInterface(); }
    void SetPlayerNames(const char *First, const char *Second) override { ::SetPlayerNames(First, Second); }
    void StartGame(int32_t Index, TCardList *Set, const TTurnInfo *Info) override {
        ::StartGame(Index, Set, Info);
    }
    int32_t GetTurn(int32_t Index, const TGameView *View, const TCardList *Playable,
                    const TTurnInfo *Info) override {
        return ::GetTurn(Index, View, Playable, Info);
    }
    void ShowGame(const TGameView *View, int32_t Reserved, const TTurnInfo *Info) override {
        ::ShowGame(View, Reserved, Info);
    }
    // Not one of the six functions every VelkUI offers: passed on when the loaded one has it.
    void SetOutcomeDetail(const char *Detail) override {
        using TSetOutcomeDetail = void (*)(const char *);
        static const auto Set = reinterpret_cast<TSetOutcomeDetail>(dlsym(RTLD_DEFAULT, "SetOutcomeDetail"));
        if (Set != nullptr) Set(Detail);
    }
    void HideGameInterface() override { ::HideGameInterface(); }
};

}  // namespace velkaran
