// A human seat against a scripted bot through the game loop, with the human's clicks simulated.
#include "match/game_loop.h"
#include "velkui/velkui_game_interface.h"
#include "velkui/window_driver.h"

#include <velkaran/bot.h>

#include <QApplication>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace velkaran;

namespace {

QWidget *GameWindow() { return driver::TopLevel("VelkuiGameWindow"); }

bool Showing(QWidget *Root, const char *Name) {
    QWidget *Widget = driver::Find<QWidget>(Root, Name);
    return Widget != nullptr && Widget->isVisible();
}

// Plays the human's side whenever the windows wait: picks the set 1..15, plays the first card it
// can pay for, acknowledges rounds without a playable card and the outcome. Counts what it did.
struct HumanPlayer {
    int Sets = 0;
    int CardsPlayed = 0;
    int Skipped = 0;
    QString Outcome;
    std::function<bool()> ResignNow = [] { return false; };
    bool Resigning = false;

    void Act() {
        if (QWidget *Dialog = driver::TopLevel("VelkuiSetDialog")) {
            driver::Click(driver::Find<QWidget>(Dialog, "clearButton"));
            for (int32_t Card = 1; Card <= 15; ++Card) driver::ClickCardRow(Dialog, Card);
            driver::Click(driver::Find<QWidget>(Dialog, "confirmButton"));
            ++Sets;
            return;
        }
        if (QWidget *Question = driver::TopLevel("resignQuestion")) {
            driver::Click(driver::Find<QWidget>(Question, "resignYes"));
            return;
        }
        QWidget *Window = GameWindow();
        if (Window == nullptr) return;
        if (Showing(Window, "coverButton")) {
            Outcome = driver::LabelText(Window, "coverHeadline");
            driver::Click(driver::Find<QWidget>(Window, "coverButton"));
            return;
        }
        if (Showing(Window, "acknowledgeButton")) {
            ++Skipped;
            driver::Click(driver::Find<QWidget>(Window, "acknowledgeButton"));
            return;
        }
        for (int32_t Card = 1; Card <= 15; ++Card) {
            auto *Tile = driver::Find<QWidget>(Window, QString("card_%1").arg(Card).toUtf8().constData());
            if (Tile == nullptr || !Tile->isVisible() || !Tile->isEnabled()) continue;
            if (Resigning) return;
            if (ResignNow()) {
                // Closed from its own slot: the question's event loop then still runs this timer.
                Resigning = true;
                QTimer::singleShot(0, Window, [Window] { Window->close(); });
                return;
            }
            ++CardsPlayed;
            driver::Click(Tile);
            return;
        }
    }
};

// The scripted bot: the set 1..14 and 50, and always card 50 (a pass that costs nothing).
void BotStartGame(int32_t, TCardList *Set, const TTurnInfo *) {
    if (Set == nullptr) return;
    for (int Slot = 0; Slot < 14; ++Slot) Set->Card[Slot] = Slot + 1;
    Set->Card[14] = 50;
}

int32_t BotGetTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; }

TGameOptions HumanAgainstBot() {
    TGameOptions Options;
    Options.Options = 60 | HiddenInformation;
    Options.FirstName = "_HUMAN_";
    Options.SecondName = "Scripted";
    return Options;
}

}  // namespace

class GameTest : public QObject {
    Q_OBJECT

private:
    void Play(HumanPlayer &Human, TGameResult &Result) {
        QTimer Clicker;
        Clicker.setInterval(5);
        connect(&Clicker, &QTimer::timeout, [&Human] { Human.Act(); });
        Clicker.start();
        VelkUiGameInterface Ui;
        PlayGame(Infallible(::StartGame), Infallible(BotStartGame), ::GetTurn, BotGetTurn, HumanAgainstBot(),
                 Result, Ui);
    }

private slots:
    void humanBeatsAPassingBot() {
        HumanPlayer Human;
        TGameResult Result;
        Play(Human, Result);
        QCOMPARE(Result.Result, int32_t{SecondPlayerLost});
        QCOMPARE(Human.Sets, 1);
        QCOMPARE(Human.Outcome, QString("Вы победили"));
        QCOMPARE(Human.CardsPlayed + Human.Skipped, Result.FinalInfo.Turn);
        int32_t Played = 0;
        for (int32_t Card = 1; Card <= CardCount; ++Card)
            Played += Result.FinalState[0].Statistics.CardUses[Card];
        QCOMPARE(Played, Human.CardsPlayed);
        QVERIFY(GameWindow() == nullptr);  // HideGameInterface closed it
    }

    void resigningEndsTheGameAsALossByError() {
        HumanPlayer Human;
        Human.ResignNow = [&Human] { return Human.CardsPlayed == 2; };
        TGameResult Result;
        Play(Human, Result);
        QCOMPARE(Result.Result, int32_t{FirstPlayerLost | ErrorOrPass});
        QCOMPARE(Result.FinalInfo.LastMove, 0);
        QCOMPARE(Result.FinalInfo.Turn, 3);
        QCOMPARE(Human.Outcome, QString());  // no outcome to acknowledge after resigning
    }
};

QTEST_MAIN(GameTest)
#include "game_test.moc"
