// The game window: the board of a move, the final position, and the cover pages in between (the
// start, the hand-over between two humans, the end of a game).
#pragma once

#include "outcome_text.h"

#include <velkaran/bot.h>

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class QEventLoop;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace velkaran {

class CardTile;
class PlayerPanel;

// What the human answered while the window waited.
enum class TAnswerKind {
    None,          // no answer: the application is shutting down
    Card,          // a playable card was clicked
    Acknowledged,  // the button of a notice or cover page was pressed (or a final view closed)
    Resigned,      // the window was closed while a human was to move, and the human chose to resign
};

struct TAnswer {
    TAnswerKind Kind = TAnswerKind::None;
    int32_t Card = 0;
};

// One side of the board: the shown name, a short note and the status.
struct TPanelContent {
    QString Name;
    QString Note;
    TPlayerStatus Status{};
};

// The board of one move, from the mover's side.
struct TTurnScreen {
    QString TurnLine;               // e.g. "Раунд 5 · Ваш ход"
    QString LastMove;               // what the mover knows of the opponent's last card
    TPanelContent Own;              // the mover, on the left
    TPanelContent Opponent;         // on the right
    std::vector<int32_t> Hand;      // the mover's set (or, if unknown, the playable cards)
    std::vector<int32_t> Playable;  // empty when nothing can be paid for
};

// The final position of a game, nothing hidden.
struct TFinalScreen {
    QString Headline;  // e.g. "Победил «Greedy»"
    QString Reason;
    QString Detail;  // the host's words on a fault or a refusal; empty for none
    QString Length;
    QString LastMove;
    std::array<TPanelContent, 2> Players;  // first player on the left
};

// The one top-level window of a game ("VelkuiGameWindow"). Closing it never closes it: while a
// human is to move it asks whether to resign ("resignQuestion"); otherwise it answers the notice
// it shows, or is ignored.
class GameWindow final : public QWidget {
public:
    GameWindow();

    // A page without the board: Headline, Text and, unless ButtonText is empty, a button
    // ("coverButton") that answers Acknowledged.
    void ShowCover(const QString &Headline, const QString &Text, const QString &ButtonText);
    // The board of a move; the playable cards answer Card, the notice of an empty Playable answers
    // Acknowledged ("acknowledgeButton").
    void ShowTurn(const TTurnScreen &Screen);
    // After a move against a bot: the board stays under TurnLine, the hand goes quiet until the next move.
    void ShowMoveMade(const QString &TurnLine);
    // The final position with the outcome; "closeButton" answers Acknowledged.
    void ShowFinal(const TFinalScreen &Screen);

    // Runs the event loop until the human answers. Resignable: a human is to move, so closing the
    // window asks whether to resign, naming Resigner when it is given (two humans at one screen);
    // otherwise closing answers Acknowledged. At the final position Return and Escape close it too.
    TAnswer Await(bool Resignable, const QString &Resigner = {});

protected:
    void closeEvent(QCloseEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    QWidget *MakeCoverPage();
    QWidget *MakeBoardPage();
    void Answer(TAnswer Reply);
    bool AskToResign();

    QStackedWidget *Pages_ = nullptr;
    QWidget *CoverPage_ = nullptr;
    QLabel *CoverHeadline_ = nullptr;
    QLabel *CoverText_ = nullptr;
    QPushButton *CoverButton_ = nullptr;
    QWidget *BoardPage_ = nullptr;
    QLabel *TurnLabel_ = nullptr;
    QLabel *LastMoveLabel_ = nullptr;
    PlayerPanel *Panels_[2] = {nullptr, nullptr};
    QWidget *HandArea_ = nullptr;
    QLabel *Notice_ = nullptr;
    QPushButton *Acknowledge_ = nullptr;
    std::vector<CardTile *> Tiles_;
    QWidget *FinalArea_ = nullptr;
    QLabel *FinalHeadline_ = nullptr;
    QLabel *FinalText_ = nullptr;
    QPushButton *Close_ = nullptr;

    QEventLoop *Loop_ = nullptr;
    bool Resignable_ = false;
    QString Resigner_;
    bool Placed_ = false;  // centred on the screen at its first showing
    TAnswer Answer_;
};

}  // namespace velkaran
