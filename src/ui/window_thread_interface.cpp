#include "window_thread_interface.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <exception>

namespace velkaran {

TWindowThreadGameInterface::TWindowThreadGameInterface(GameInterface &Target, QObject &Window,
                                                       const std::atomic<int> *Stop)
    : Target(Target), Window(Window), Stop(Stop) {}

void TWindowThreadGameInterface::OnWindowThread(const std::function<void()> &Call, bool Showing) {
    Forwarded = true;
    const auto Both = [this, &Call, Showing] {
        if (Showing && BeforeShowing) BeforeShowing();
        Call();
    };
    if (QThread::currentThread() == Window.thread()) {
        Both();
        return;
    }
    std::exception_ptr Failure;
    QMetaObject::invokeMethod(
        &Window,
        [&Both, &Failure] {
            try {
                Both();
            } catch (...) {
                Failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (Failure) std::rethrow_exception(Failure);
}

void TWindowThreadGameInterface::ShowGameInterface() {
    OnWindowThread([this] { Target.ShowGameInterface(); }, true);
}

void TWindowThreadGameInterface::SetPlayerNames(const char *FirstName, const char *SecondName) {
    OnWindowThread([&] { Target.SetPlayerNames(FirstName, SecondName); }, false);
}

void TWindowThreadGameInterface::StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    OnWindowThread([&] { Target.StartGame(PlayerIndex, CardSet, Info); }, true);
}

int32_t TWindowThreadGameInterface::GetTurn(int32_t PlayerIndex, const TGameView *View,
                                            const TCardList *Playable, const TTurnInfo *Info) {
    int32_t Card = 0;
    OnWindowThread([&] { Card = Target.GetTurn(PlayerIndex, View, Playable, Info); }, true);
    return Card;
}

void TWindowThreadGameInterface::ShowGame(const TGameView *View, int32_t Reserved,
                                          const TTurnInfo *FinalInfo) {
    if (Stop != nullptr && static_cast<TStopRequest>(Stop->load()) == TStopRequest::AtOnce) return;
    OnWindowThread([&] { Target.ShowGame(View, Reserved, FinalInfo); }, true);
}

void TWindowThreadGameInterface::SetOutcomeDetail(const char *Detail) {
    if (Stop != nullptr && static_cast<TStopRequest>(Stop->load()) == TStopRequest::AtOnce) return;
    OnWindowThread([&] { Target.SetOutcomeDetail(Detail); }, false);
}

void TWindowThreadGameInterface::HideGameInterface() {
    if (!Forwarded) return;
    OnWindowThread([this] { Target.HideGameInterface(); }, false);
    Forwarded = false;
}

}  // namespace velkaran
