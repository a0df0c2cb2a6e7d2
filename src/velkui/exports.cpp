// The functions libVelkUI.so exports: they check what the host passes and hand it to the session.
#include "game_session.h"
#include "velkui.h"

#include <velkaran/bot.h>

namespace {

bool IsSeat(int32_t Seat) { return Seat == 0 || Seat == 1; }

}  // namespace

extern "C" {

VELKUI_EXPORT void ShowGameInterface(void) { velkaran::GameSession::Instance().ShowInterface(); }

VELKUI_EXPORT void SetPlayerNames(const char *FirstName, const char *SecondName) {
    velkaran::GameSession::Instance().SetNames(FirstName, SecondName);
}

VELKUI_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    if (!IsSeat(PlayerIndex)) return;
    const TTurnInfo Empty{};
    velkaran::GameSession::Instance().StartGame(PlayerIndex, CardSet, Info != nullptr ? *Info : Empty);
}

VELKUI_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                              const TTurnInfo *Info) {
    if (!IsSeat(PlayerIndex) || View == nullptr || Info == nullptr) return 0;
    return velkaran::GameSession::Instance().GetTurn(PlayerIndex, *View, Playable, *Info);
}

VELKUI_EXPORT void ShowGame(const TGameView *View, int32_t, const TTurnInfo *FinalInfo) {
    if (View == nullptr) return;
    const TTurnInfo Empty{};
    velkaran::GameSession::Instance().ShowGame(*View, FinalInfo != nullptr ? *FinalInfo : Empty);
}

VELKUI_EXPORT void HideGameInterface(void) { velkaran::GameSession::Instance().HideInterface(); }

VELKUI_EXPORT void SetOutcomeDetail(const char *Detail) {
    velkaran::GameSession::Instance().SetOutcomeDetail(Detail != nullptr ? Detail : "");
}

}  // extern "C"
