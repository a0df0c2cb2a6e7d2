// The game interface as the match thread reaches it: every call carried to the window thread.
#pragma once

#include "match/match_runner.h"
#include "players/game_interface.h"

#include <atomic>
#include <functional>

class QObject;

namespace velkaran {

// Forwards each call to Target on the thread of Window (the program's window thread) and waits
// for its answer there, so that the game windows see every call on their own thread however the
// match is played; a call made on that thread goes straight through. An exception of Target is
// rethrown to the caller. HideGameInterface goes through only when a call since the last one did,
// so that the games of a series between bots cost no trip to the window thread. With Stop set to
// TStopRequest::AtOnce, the final position is not shown.
class TWindowThreadGameInterface final : public GameInterface {
public:
    TWindowThreadGameInterface(GameInterface &Target, QObject &Window,
                               const std::atomic<int> *Stop = nullptr);

    // Runs on the window thread before a call opens or shows a game window (the progress window
    // makes way for it).
    std::function<void()> BeforeShowing;

    void ShowGameInterface() override;
    void SetPlayerNames(const char *FirstName, const char *SecondName) override;
    void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) override;
    int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                    const TTurnInfo *Info) override;
    void ShowGame(const TGameView *View, int32_t Reserved, const TTurnInfo *FinalInfo) override;
    void SetOutcomeDetail(const char *Detail) override;
    void HideGameInterface() override;

private:
    void OnWindowThread(const std::function<void()> &Call, bool Showing);

    GameInterface &Target;
    QObject &Window;
    const std::atomic<int> *Stop;
    bool Forwarded = false;  // a call went through since the last HideGameInterface
};

}  // namespace velkaran
