// A host without a QApplication of its own: nothing is created until a window is needed, then the
// library makes the application itself and a human can play.
#include "velkui/velkui.h"
#include "velkui/window_driver.h"

#include <velkaran/bot.h>

#include <QApplication>

#include <gtest/gtest.h>

namespace velkaran {
namespace {

TEST(NoHostApplicationTest, ApplicationIsMadeOnlyWhenAWindowIsNeeded) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    HideGameInterface();  // what a series between bots calls: must neither block nor create anything
    SetPlayerNames("_HUMAN_", "Greedy");
    EXPECT_EQ(QCoreApplication::instance(), nullptr);

    ShowGameInterface();
    ASSERT_NE(qobject_cast<QApplication *>(QCoreApplication::instance()), nullptr);
    driver::WhenReady(
        [] {
            auto *Button = driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "acknowledgeButton");
            return Button != nullptr && Button->isVisible();
        },
        [] {
            driver::Click(driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "acknowledgeButton"));
        });
    TGameView View{};
    View[0] = {40, 15, 3, 2, 2, 0, 0, 0};
    View[1] = {40, 15, 3, 2, 2, 15, 15, 15};
    TTurnInfo Info{};
    Info.Turn = 1;
    EXPECT_EQ(GetTurn(0, &View, nullptr, &Info), 0);
    HideGameInterface();
    EXPECT_EQ(driver::TopLevel("VelkuiGameWindow"), nullptr);
}

}  // namespace
}  // namespace velkaran
