// The VelkUI windows driven through the six exported functions with real clicks, offscreen.
#include "velkui/velkui.h"
#include "velkui/window_driver.h"

#include <velkaran/bot.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <initializer_list>
#include <vector>

using namespace velkaran;

namespace {

constexpr int32_t Options = 200 | HiddenInformation;

TTurnInfo Info(int32_t Turn, int32_t LastMove = 0, int32_t Result = 0) {
    TTurnInfo Made{};
    Made.Turn = Turn;
    Made.LastMove = LastMove;
    Made.Options = Options;
    Made.Result = Result;
    std::strcpy(Made.OpponentName, "Greedy");
    return Made;
}

TCardList Cards(std::initializer_list<int32_t> Numbers) {
    TCardList List{};
    int Slot = 0;
    for (int32_t Card : Numbers) List.Card[Slot++] = Card;
    return List;
}

std::vector<int32_t> Entries(const TCardList &List) { return {std::begin(List.Card), std::end(List.Card)}; }

QWidget *GameWindow() { return driver::TopLevel("VelkuiGameWindow"); }
QWidget *SetDialog() { return driver::TopLevel("VelkuiSetDialog"); }

template <typename T = QWidget>
T *InWindow(const char *Name) {
    return driver::Find<T>(GameWindow(), Name);
}

bool Showing(const char *Name) {
    QWidget *Widget = InWindow(Name);
    return Widget != nullptr && Widget->isVisible();
}

QString CurrentPage() {
    auto *Pages = GameWindow() != nullptr ? GameWindow()->findChild<QStackedWidget *>() : nullptr;
    return Pages != nullptr ? Pages->currentWidget()->objectName() : QString();
}

QString PanelValue(const char *Panel, const char *Field) { return driver::LabelText(InWindow(Panel), Field); }

// Picks exactly Cards in the set dialog as soon as it appears, and confirms.
void PickWhenAsked(std::vector<int32_t> Picked) {
    driver::WhenReady([] { return SetDialog() != nullptr; },
                      [Picked] {
                          QWidget *Dialog = SetDialog();
                          driver::Click(driver::Find<QWidget>(Dialog, "clearButton"));
                          for (int32_t Card : Picked) driver::ClickCardRow(Dialog, Card);
                          driver::Click(driver::Find<QWidget>(Dialog, "confirmButton"));
                      });
}

// Starts a game for one human (seat 0) against "Greedy" with the set 1..14 and 50.
const std::vector<int32_t> OpeningSet = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 50};

void StartSingleGame() {
    SetPlayerNames("_HUMAN_", "Greedy");
    ShowGameInterface();
    PickWhenAsked(OpeningSet);
    TCardList Set{};
    const TTurnInfo Start = Info(0);
    StartGame(0, &Set, &Start);
}

// A mid-game view for seat 0: 9 energy, 6 metal, 5 electro-elements; the opponent behind shield 24.
TGameView MidGameView() {
    TGameView View{};
    View[0] = {31, 12, 4, 3, 3, 9, 6, 5};
    View[1] = {0, 24, 0, 0, 0, -1, -1, -1};
    return View;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { HideGameInterface(); }

    void setDialogCountsUpToFifteen() {
        SetPlayerNames("_HUMAN_", "Greedy");
        ShowGameInterface();
        QStringList Counts;
        bool ConfirmAtFourteen = true, ConfirmAtFifteen = false, SixteenthTaken = true;
        QString RowTip;
        driver::WhenReady([] { return SetDialog() != nullptr; },
                          [&] {
                              QWidget *Dialog = SetDialog();
                              auto *Confirm = driver::Find<QAbstractButton>(Dialog, "confirmButton");
                              auto *Table = driver::Find<QTableWidget>(Dialog, "cardTable");
                              for (int32_t Card = 1; Card <= 14; ++Card) driver::ClickCardRow(Dialog, Card);
                              ConfirmAtFourteen = Confirm->isEnabled();
                              Counts << driver::LabelText(Dialog, "countLabel");
                              driver::ClickCardRow(Dialog, 15);
                              ConfirmAtFifteen = Confirm->isEnabled();
                              driver::ClickCardRow(Dialog, 16);  // the sixteenth is refused
                              Counts << driver::LabelText(Dialog, "countLabel");
                              SixteenthTaken = Table->item(15, 0)->checkState() == Qt::Checked;
                              RowTip = Table->item(11, 4)->toolTip();
                              driver::ClickCardRow(Dialog, 1);  // dropping one makes room again
                              Counts << driver::LabelText(Dialog, "countLabel");
                              driver::ClickCardRow(Dialog, 16);
                              driver::Click(Confirm);
                          });
        TCardList Set{};
        const TTurnInfo Start = Info(0);
        StartGame(0, &Set, &Start);
        QCOMPARE(Counts, (QStringList{"Выбрано 14 из 15", "Выбрано 15 из 15", "Выбрано 14 из 15"}));
        QVERIFY(!ConfirmAtFourteen);
        QVERIFY(ConfirmAtFifteen);
        QVERIFY(!SixteenthTaken);
        QVERIFY2(RowTip.contains("удар по себе силой 10"), qPrintable(RowTip));  // card 12 in words
        QCOMPARE(Entries(Set), (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    }

    void setDialogOffersTheLastSetOfTheSeat() {
        SetPlayerNames("_HUMAN_", "Greedy");
        ShowGameInterface();
        QString Count;
        driver::WhenReady([] { return SetDialog() != nullptr; },
                          [&] {
                              Count = driver::LabelText(SetDialog(), "countLabel");
                              driver::Click(driver::Find<QWidget>(SetDialog(), "confirmButton"));
                          });
        TCardList Set{};
        const TTurnInfo Start = Info(0);
        StartGame(0, &Set, &Start);
        QCOMPARE(Count, QString("Выбрано 15 из 15"));
        QCOMPARE(Entries(Set), (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    }

    void leavingTheSetDialogLeavesTheSetEmpty() {
        SetPlayerNames("Greedy", "_HUMAN_");
        ShowGameInterface();
        driver::WhenReady([] { return SetDialog() != nullptr; },
                          [] {
                              driver::WhenReady([] { return driver::TopLevel("giveUpQuestion") != nullptr; },
                                                [] {
                                                    driver::Click(driver::Find<QWidget>(
                                                        driver::TopLevel("giveUpQuestion"), "giveUpYes"));
                                                });
                              SetDialog()->close();
                          });
        TCardList Set{};
        const TTurnInfo Start = Info(0);
        StartGame(1, &Set, &Start);
        QCOMPARE(Entries(Set), std::vector<int32_t>(CardSetSize, 0));
        // Having left, the human is not asked to acknowledge the loss.
        const TTurnInfo Closing = Info(0, 0, SecondPlayerLost | ErrorOrPass);
        StartGame(1, nullptr, &Closing);
    }

    void windowsFitTheScreenAndTheSetDialogOpensOverTheGame() {
        SetPlayerNames("_HUMAN_", "Greedy");
        ShowGameInterface();
        QRect Window, Dialog, Free;
        driver::WhenReady([] { return SetDialog() != nullptr; },
                          [&] {
                              Window = GameWindow()->frameGeometry();
                              Dialog = SetDialog()->frameGeometry();
                              Free = GameWindow()->screen()->availableGeometry();
                              driver::WhenReady([] { return driver::TopLevel("giveUpQuestion") != nullptr; },
                                                [] {
                                                    driver::Click(driver::Find<QWidget>(
                                                        driver::TopLevel("giveUpQuestion"), "giveUpYes"));
                                                });
                              SetDialog()->close();
                          });
        TCardList Set{};
        const TTurnInfo Start = Info(0);
        StartGame(0, &Set, &Start);
        constexpr int TitleBar = 30;  // what a window manager adds above the window
        QVERIFY2(Free.contains(Window) && Window.height() + TitleBar <= Free.height(),
                 qPrintable(QString("%1x%2").arg(Window.width()).arg(Window.height())));
        QVERIFY(Free.contains(Dialog));
        QVERIFY((Dialog.center() - Window.center()).manhattanLength() <= 2);
    }

    void playableCardsCanBeChosenOthersNot() {
        StartSingleGame();
        QMap<QString, bool> Enabled;
        QString OpponentBase, OpponentShield, OpponentEnergy, OwnEnergy, LastMove, TurnLine, Shortfall, Tip;
        driver::WhenReady([] { return Showing("card_50"); },
                          [&] {
                              for (int32_t Card : OpeningSet) {
                                  const QString Name = QString("card_%1").arg(Card);
                                  Enabled[Name] = InWindow(Name.toUtf8().constData())->isEnabled();
                              }
                              OpponentBase = PanelValue("rightPanel", "Base");
                              OpponentShield = PanelValue("rightPanel", "Shield");
                              OpponentEnergy = PanelValue("rightPanel", "Energy");
                              OwnEnergy = PanelValue("leftPanel", "Energy");
                              LastMove = driver::LabelText(GameWindow(), "lastMoveLabel");
                              TurnLine = driver::LabelText(GameWindow(), "turnLabel");
                              Shortfall = driver::LabelText(InWindow("card_10"), "cost");
                              Tip = InWindow("card_13")->toolTip();
                              // An unaffordable card does not answer; GetTurn would return 10 at once if it
                              // did.
                              QTest::mouseClick(InWindow("card_10"), Qt::LeftButton);
                              // Return plays the focused card.
                              QTimer::singleShot(50, [] {
                                  InWindow("card_4")->setFocus();
                                  QTest::keyClick(InWindow("card_4"), Qt::Key_Return);
                              });
                          });
        const TGameView View = MidGameView();
        const TCardList Playable = Cards({1, 2, 3, 4, 5, 6, 50});
        const TTurnInfo Turn = Info(12);
        QCOMPARE(GetTurn(0, &View, &Playable, &Turn), 4);
        for (int32_t Card : {1, 2, 3, 4, 5, 6, 50}) QVERIFY(Enabled.value(QString("card_%1").arg(Card)));
        for (int32_t Card : {7, 8, 9, 10, 11, 12, 13, 14})
            QVERIFY(!Enabled.value(QString("card_%1").arg(Card)));
        QCOMPARE(OpponentBase, QString("скрыто"));
        QCOMPARE(OpponentShield, QString("24"));
        QCOMPARE(OpponentEnergy, QString("скрыто"));
        QCOMPARE(OwnEnergy, QString("9"));
        QCOMPARE(LastMove, QString("Последний ход соперника скрыт: его щит больше 20."));
        QCOMPARE(TurnLine, QString("Раунд 12 · Ваш ход"));
        QCOMPARE(Shortfall, QString("Не хватает: En 2"));
        QVERIFY2(Tip.contains("Атака силой 17 (её сначала принимает щит соперника"), qPrintable(Tip));
    }

    void roundWithNothingPlayableIsAcknowledged() {
        StartSingleGame();
        bool NoticeShown = false, AnyCardEnabled = true;
        driver::WhenReady(
            [] { return Showing("acknowledgeButton"); },
            [&] {
                NoticeShown =
                    driver::LabelText(GameWindow(), "noticeLabel").startsWith("Вам нечем заплатить");
                AnyCardEnabled = false;
                for (int32_t Card : OpeningSet)
                    AnyCardEnabled = AnyCardEnabled ||
                                     InWindow(QString("card_%1").arg(Card).toUtf8().constData())->isEnabled();
                driver::Click(InWindow("acknowledgeButton"));
            });
        TGameView View = MidGameView();
        View[0].Energy = View[0].Metal = View[0].Elements = 0;
        const TTurnInfo Turn = Info(3, 0);
        QCOMPARE(GetTurn(0, &View, nullptr, &Turn), 0);
        QVERIFY(NoticeShown);
        QVERIFY(!AnyCardEnabled);
    }

    void twoHumansHandOverBeforeEachMove() {
        SetPlayerNames("_HUMAN_", "_HUMAN_");
        ShowGameInterface();
        QString Headline, PageBeforeConfirm, OwnName;
        driver::WhenReady([] { return Showing("coverButton"); },
                          [&] {
                              Headline = driver::LabelText(GameWindow(), "coverHeadline");
                              PageBeforeConfirm = CurrentPage();
                              driver::Click(InWindow("coverButton"));
                              driver::WhenReady([] { return Showing("card_50"); },
                                                [&] {
                                                    OwnName = PanelValue("leftPanel", "name");
                                                    driver::Click(InWindow("card_50"));
                                                });
                          });
        const TGameView View = MidGameView();
        const TCardList Playable = Cards({50});
        const TTurnInfo Turn = Info(4);
        QCOMPARE(GetTurn(1, &View, &Playable, &Turn), 50);
        QCOMPARE(Headline, QString("Очередь: Игрок 2"));
        QCOMPARE(PageBeforeConfirm, QString("coverPage"));
        QCOMPARE(OwnName, QString("Игрок 2"));
        QCOMPARE(CurrentPage(), QString("coverPage"));  // the board is covered again after the move

        // The end of the game is shown once, for both.
        QString Outcome;
        driver::WhenReady([] { return Showing("coverButton"); },
                          [&] {
                              Outcome = driver::LabelText(GameWindow(), "coverHeadline");
                              driver::Click(InWindow("coverButton"));
                          });
        const TTurnInfo First = Info(4, 50, SecondPlayerLost | ReceiverWon);
        const TTurnInfo Second = Info(4, 50, SecondPlayerLost);
        StartGame(0, nullptr, &First);
        StartGame(1, nullptr, &Second);
        QCOMPARE(Outcome, QString("Победил «Игрок 1»"));
    }

    void twoHumansAreAlsoToldByTheCalls() {
        ShowGameInterface();  // no names given: the opponent's name in the call tells
        QString Headline;
        driver::WhenReady([] { return Showing("coverButton"); },
                          [&] {
                              Headline = driver::LabelText(GameWindow(), "coverHeadline");
                              driver::Click(InWindow("coverButton"));
                              driver::WhenReady([] { return Showing("card_50"); },
                                                [] { driver::Click(InWindow("card_50")); });
                          });
        const TGameView View = MidGameView();
        const TCardList Playable = Cards({50});
        TTurnInfo Turn = Info(1);
        std::strcpy(Turn.OpponentName, "_HUMAN_");
        QCOMPARE(GetTurn(0, &View, &Playable, &Turn), 50);
        QCOMPARE(Headline, QString("Очередь: Игрок 1"));
    }

    // At one screen the hand-over names whose turn it is; closing the window there gives up for that
    // player, also when the move was only a notice (nothing to pay for) whose answer counts for nothing.
    void twoHumansTheAnnouncedPlayerResigns() {
        SetPlayerNames("_HUMAN_", "_HUMAN_");
        ShowGameInterface();
        QString Question;
        driver::WhenReady([] { return Showing("coverButton"); },
                          [&] {
                              driver::WhenReady([] { return driver::TopLevel("resignQuestion") != nullptr; },
                                                [&] {
                                                    auto *Box = qobject_cast<QMessageBox *>(
                                                        driver::TopLevel("resignQuestion"));
                                                    Question = Box->text();
                                                    driver::Click(driver::Find<QWidget>(Box, "resignYes"));
                                                });
                              GameWindow()->close();
                          });
        const TGameView View = MidGameView();
        const TTurnInfo Turn = Info(4);
        QCOMPARE(GetTurn(0, &View, nullptr, &Turn), 0);
        QVERIFY2(Question.contains("Сдаётся Игрок 1"), qPrintable(Question));

        // Player 2 is not asked again: a pass, or a card that spares its own base, until player 1 moves.
        bool Waited = false;
        QTimer Failsafe;
        Failsafe.setSingleShot(true);
        connect(&Failsafe, &QTimer::timeout, [&] {
            Waited = true;
            driver::Click(InWindow("coverButton"));
            driver::WhenReady([] { return Showing("card_50"); }, [] { driver::Click(InWindow("card_50")); });
        });
        Failsafe.start(2000);
        const TCardList WithPass = Cards({12, 30, 50});
        const TCardList WithoutPass = Cards({12, 30, 7});
        QCOMPARE(GetTurn(1, &View, &WithPass, &Turn), 50);
        QCOMPARE(GetTurn(1, &View, &WithoutPass, &Turn), 7);
        Failsafe.stop();
        QVERIFY(!Waited);
        // Player 1's next move answers no card: the game counts it as player 1's loss.
        const TCardList Own = Cards({1, 50});
        const TTurnInfo Next = Info(5, 50);
        QCOMPARE(GetTurn(0, &View, &Own, &Next), 0);
    }

    void closingWhileToMoveAsksAndResigns() {
        StartSingleGame();
        int Questions = 0;
        const auto Answer = [&Questions](const char *Button) {
            driver::WhenReady(
                [] { return driver::TopLevel("resignQuestion") != nullptr; },
                [&Questions, Button] {
                    ++Questions;
                    driver::Click(driver::Find<QWidget>(driver::TopLevel("resignQuestion"), Button));
                });
        };
        driver::WhenReady([] { return Showing("card_50"); },
                          [&] {
                              Answer("resignNo");
                              QTest::keyClick(GameWindow(), Qt::Key_Escape);  // Esc asks as closing does
                              QTimer::singleShot(50, [&] {
                                  Answer("resignYes");
                                  GameWindow()->close();
                              });
                          });
        const TGameView View = MidGameView();
        const TCardList Playable = Cards({1, 50});
        const TTurnInfo Turn = Info(6);
        QCOMPARE(GetTurn(0, &View, &Playable, &Turn), 0);
        QCOMPARE(Questions, 2);
        // The refused move ends the game; the human who resigned is not kept waiting.
        bool OutcomeWaited = false;
        QTimer Failsafe;
        Failsafe.setSingleShot(true);
        connect(&Failsafe, &QTimer::timeout, [&] {
            OutcomeWaited = true;
            driver::Click(InWindow("coverButton"));
        });
        Failsafe.start(2000);
        const TTurnInfo Closing = Info(6, 0, FirstPlayerLost | ErrorOrPass);
        StartGame(0, nullptr, &Closing);
        QVERIFY(!OutcomeWaited);
        QVERIFY(GameWindow() != nullptr);  // still there until the host hides it
    }

    void outcomeIsShownFromTheSeatsSide() {
        StartSingleGame();
        QString Headline, Text;
        driver::WhenReady([] { return Showing("coverButton"); },
                          [&] {
                              Headline = driver::LabelText(GameWindow(), "coverHeadline");
                              Text = driver::LabelText(GameWindow(), "coverText");
                              driver::Click(InWindow("coverButton"));
                          });
        const TTurnInfo Closing = Info(23, 0, SecondPlayerLost | ReceiverWon);
        StartGame(0, nullptr, &Closing);
        QCOMPARE(Headline, QString("Вы победили"));
        QCOMPARE(Text, QString("База соперника разрушена.\nПартия длилась 23 раунда."));
    }

    void finalPositionShowsEverythingUntilClosed() {
        SetPlayerNames("Greedy", "Planner");
        ShowGameInterface();
        QString Headline, LeftName, RightBase, RightEnergy;
        driver::WhenReady([] { return Showing("closeButton"); },
                          [&] {
                              Headline = driver::LabelText(GameWindow(), "finalHeadline");
                              LeftName = PanelValue("leftPanel", "name");
                              RightBase = PanelValue("rightPanel", "Base");
                              RightEnergy = PanelValue("rightPanel", "Energy");
                              driver::Click(InWindow("closeButton"));
                          });
        TGameView View{};
        View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};
        View[1] = {27, 25, 4, 4, 5, 0, 3, 20};  // shield above 20: still shown in full
        TTurnInfo Final = Info(41, 29);
        std::memset(Final.OpponentName, 0, sizeof Final.OpponentName);
        ShowGame(&View, 0, &Final);
        QCOMPARE(Headline, QString("Победил «Planner»"));
        QCOMPARE(LeftName, QString("Greedy"));
        QCOMPARE(RightBase, QString("27"));
        QCOMPARE(RightEnergy, QString("0"));

        // Closing the window ends the final view as well.
        driver::WhenReady([] { return Showing("closeButton"); }, [] { GameWindow()->close(); });
        ShowGame(&View, 0, &Final);
    }

    // The host's result code decides the final screen, even where the board suggests otherwise.
    void finalPositionTellsTheResultTheHostPasses() {
        SetPlayerNames("Greedy", "Planner");
        ShowGameInterface();
        QString Headline, Text;
        driver::WhenReady([] { return Showing("closeButton"); },
                          [&] {
                              Headline = driver::LabelText(GameWindow(), "finalHeadline");
                              Text = driver::LabelText(GameWindow(), "finalText");
                              driver::Click(InWindow("closeButton"));
                          });
        TGameView View{};
        View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};
        View[1] = {27, 25, 4, 4, 5, 0, 3, 20};
        const TTurnInfo Final = Info(41, 29, SecondPlayerLost | TimeLimitExceeded);
        ShowGame(&View, 0, &Final);
        QCOMPARE(Headline, QString("Победил «Greedy»"));
        QCOMPARE(Text, QString("«Planner»: ход длился дольше 20 секунд.\nПартия длилась 41 раунд."));

        // The host's words on a fault go under the outcome, as plain text, for that final view only.
        driver::WhenReady([] { return Showing("closeButton"); },
                          [&] {
                              Text = driver::LabelText(GameWindow(), "finalText");
                              driver::Click(InWindow("closeButton"));
                          });
        SetOutcomeDetail("раунд 41, GetTurn: нет ответа за 22000 мс <b>");
        ShowGame(&View, 0, &Final);
        QCOMPARE(Text,
                 QString("«Planner»: ход длился дольше 20 секунд.\nПричина: раунд 41, GetTurn: нет ответа за "
                         "22000 мс <b>\nПартия длилась 41 раунд."));
        driver::WhenReady([] { return Showing("closeButton"); },
                          [&] {
                              Text = driver::LabelText(GameWindow(), "finalText");
                              driver::Click(InWindow("closeButton"));
                          });
        ShowGame(&View, 0, &Final);
        QVERIFY(!Text.contains(QStringLiteral("Причина")));
    }

    void finalPositionClosesWithTheKeyboard_data() {
        QTest::addColumn<int>("Key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void finalPositionClosesWithTheKeyboard() {
        QFETCH(int, Key);
        SetPlayerNames("Greedy", "Planner");
        ShowGameInterface();
        bool Clicked = false;
        driver::WhenReady([] { return Showing("closeButton"); },
                          [&] {
                              QWidget *Target = QApplication::focusWidget();
                              QTest::keyClick(Target != nullptr ? Target : GameWindow(), Qt::Key(Key));
                              // Still open: the key did nothing; close it so that the test can fail.
                              QTimer::singleShot(500,
                                                 [&] { Clicked = driver::Click(InWindow("closeButton")); });
                          });
        TGameView View{};
        View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};
        View[1] = {27, 25, 4, 4, 5, 0, 3, 20};
        const TTurnInfo Final = Info(41, 29, FirstPlayerLost);
        ShowGame(&View, 0, &Final);
        QVERIFY(!Clicked);
    }

    void bareHideDoesNothing() {
        HideGameInterface();
        HideGameInterface();
        QVERIFY(GameWindow() == nullptr);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
