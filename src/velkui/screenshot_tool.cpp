// velkui-screenshots <folder>: plays through the VelkUI windows with scripted clicks and saves the
// set dialog, a game in progress, the hand-over between two humans and a final position as PNG files.
#include "velkui.h"
#include "window_driver.h"

#include <velkaran/bot.h>

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>

namespace {

using namespace velkaran;

constexpr int32_t Options = 200 | HiddenInformation;

TTurnInfo Info(int32_t Turn, int32_t LastMove, int32_t Code, const char *Opponent) {
    TTurnInfo Result{};
    Result.Result = Code;
    Result.Turn = Turn;
    Result.LastMove = LastMove;
    Result.Options = Options;
    std::strncpy(Result.OpponentName, Opponent, sizeof Result.OpponentName - 1);
    return Result;
}

TCardList Cards(std::initializer_list<int32_t> Numbers) {
    TCardList List{};
    int Slot = 0;
    for (int32_t Card : Numbers) List.Card[Slot++] = Card;
    return List;
}

bool Saved(QWidget *Widget, const QDir &Folder, const char *Name) {
    const QString Path = Folder.filePath(QString::fromUtf8(Name));
    if (driver::SavePicture(Widget, Path)) return true;
    std::fprintf(stderr, "velkui-screenshots: cannot write %s\n", qPrintable(Path));
    return false;
}

// The set dialog with twelve cards picked, then the rest picked and confirmed.
bool ChooseSet(const QDir &Folder) {
    bool Ok = false;
    driver::WhenReady([] { return driver::TopLevel("VelkuiSetDialog") != nullptr; },
                      [&Ok, &Folder] {
                          QWidget *Dialog = driver::TopLevel("VelkuiSetDialog");
                          for (int32_t Card : {1, 4, 7, 10, 12, 15, 18, 23, 26, 28, 33, 35})
                              driver::ClickCardRow(Dialog, Card);
                          driver::ClickCardRow(Dialog, 1);  // scroll back to the top
                          driver::ClickCardRow(Dialog, 1);
                          Ok = Saved(Dialog, Folder, "velkui-set-dialog.png");
                          for (int32_t Card : {41, 47, 50}) driver::ClickCardRow(Dialog, Card);
                          driver::Click(driver::Find<QWidget>(Dialog, "confirmButton"));
                      });
    TCardList Set{};
    const TTurnInfo Start = Info(0, 0, 0, "Greedy");
    StartGame(0, &Set, &Start);
    return Ok && Set.Card[0] != 0;
}

// A move in round 12: the opponent hides behind a shield of 24, some cards cannot be paid for.
bool PlayMove(const QDir &Folder) {
    bool Ok = false;
    driver::WhenReady(
        [] { return driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "card_26") != nullptr; },
        [&Ok, &Folder] {
            QWidget *Window = driver::TopLevel("VelkuiGameWindow");
            Ok = Saved(Window, Folder, "velkui-game.png");
            driver::Click(driver::Find<QWidget>(Window, "card_26"));
        });
    TGameView View{};
    View[0] = {31, 12, 4, 3, 3, 9, 6, 5};
    View[1] = {0, 24, 0, 0, 0, -1, -1, -1};
    const TCardList Playable = Cards({1, 4, 15, 23, 26, 41, 50});
    const TTurnInfo Turn = Info(12, 0, 0, "Greedy");
    return GetTurn(0, &View, &Playable, &Turn) == 26 && Ok;
}

// The end of the game from the human's side, acknowledged with one click.
bool Outcome(const QDir &Folder) {
    bool Ok = false;
    driver::WhenReady(
        [] {
            auto *Button = driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "coverButton");
            return Button != nullptr && Button->isVisible();
        },
        [&Ok, &Folder] {
            QWidget *Window = driver::TopLevel("VelkuiGameWindow");
            Ok = Saved(Window, Folder, "velkui-outcome.png");
            driver::Click(driver::Find<QWidget>(Window, "coverButton"));
        });
    const TTurnInfo Closing = Info(23, 26, SecondPlayerLost | ReceiverWon, "Greedy");
    StartGame(0, nullptr, &Closing);
    return Ok;
}

// Clicks the cover's button once it shows, saving the picture first when Picture is given.
void PassCover(const QDir &Folder, const char *Picture, bool &Ok, std::function<void()> Then) {
    driver::WhenReady(
        [] {
            auto *Button = driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "coverButton");
            return Button != nullptr && Button->isVisible();
        },
        [&Folder, Picture, &Ok, Then = std::move(Then)] {
            QWidget *Window = driver::TopLevel("VelkuiGameWindow");
            if (Picture != nullptr) Ok = Saved(Window, Folder, Picture) && Ok;
            driver::Click(driver::Find<QWidget>(Window, "coverButton"));
            Then();
        });
}

// Two humans at one screen: the board is covered until the second player is ready, who picks a
// set and later finds nothing to pay for.
bool HandOver(const QDir &Folder) {
    bool Ok = true;
    SetPlayerNames("_HUMAN_", "_HUMAN_");
    ShowGameInterface();
    PassCover(Folder, "velkui-hand-over.png", Ok, [] {
        driver::WhenReady([] { return driver::TopLevel("VelkuiSetDialog") != nullptr; },
                          [] {
                              QWidget *Dialog = driver::TopLevel("VelkuiSetDialog");
                              for (int32_t Card : {1, 2, 3, 5, 8, 11, 15, 16, 20, 23, 24, 27, 34, 43, 49})
                                  driver::ClickCardRow(Dialog, Card);
                              driver::Click(driver::Find<QWidget>(Dialog, "confirmButton"));
                          });
    });
    TCardList Set{};
    const TTurnInfo Start = Info(0, 0, 0, "_HUMAN_");
    StartGame(1, &Set, &Start);

    PassCover(Folder, nullptr, Ok, [&Ok, &Folder] {
        driver::WhenReady(
            [] {
                auto *Button =
                    driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "acknowledgeButton");
                return Button != nullptr && Button->isVisible();
            },
            [&Ok, &Folder] {
                QWidget *Window = driver::TopLevel("VelkuiGameWindow");
                Ok = Saved(Window, Folder, "velkui-nothing-playable.png") && Ok;
                driver::Click(driver::Find<QWidget>(Window, "acknowledgeButton"));
            });
    });
    TGameView View{};
    View[0] = {22, 0, 3, 2, 2, 1, 0, 3};
    View[1] = {35, 9, 3, 3, 2, 1, 1, 0};
    const TTurnInfo Turn = Info(7, 5, 0, "_HUMAN_");
    GetTurn(1, &View, nullptr, &Turn);
    HideGameInterface();
    return Ok;
}

// The final position of a game between two bots.
bool FinalPosition(const QDir &Folder) {
    bool Ok = false;
    SetPlayerNames("Greedy", "Planner");
    ShowGameInterface();
    driver::WhenReady(
        [] { return driver::Find<QWidget>(driver::TopLevel("VelkuiGameWindow"), "closeButton") != nullptr; },
        [&Ok, &Folder] {
            QWidget *Window = driver::TopLevel("VelkuiGameWindow");
            Ok = Saved(Window, Folder, "velkui-final.png");
            driver::Click(driver::Find<QWidget>(Window, "closeButton"));
        });
    TGameView View{};
    View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};
    View[1] = {27, 18, 4, 4, 5, 11, 3, 20};
    TTurnInfo Final = Info(41, 29, FirstPlayerLost, "");  // the code the host passes with the final position
    std::memset(Final.OpponentName, 0, sizeof Final.OpponentName);
    ShowGame(&View, 0, &Final);
    HideGameInterface();
    return Ok;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkui-screenshots <output folder>\n");
        return 2;
    }
    QApplication Application(argc, argv);
    const QDir Folder(QString::fromLocal8Bit(argv[1]));
    if (!Folder.exists() && !QDir().mkpath(Folder.path())) {
        std::fprintf(stderr, "velkui-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    SetPlayerNames("_HUMAN_", "Greedy");
    ShowGameInterface();
    bool Ok = ChooseSet(Folder);
    Ok = PlayMove(Folder) && Ok;
    Ok = Outcome(Folder) && Ok;
    HideGameInterface();
    Ok = HandOver(Folder) && Ok;
    Ok = FinalPosition(Folder) && Ok;
    return Ok ? 0 : 1;
}
