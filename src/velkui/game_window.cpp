// The game window.
#include "game_window.h"

#include "card_tile.h"
#include "leave_question.h"
#include "player_panel.h"
#include "status_text.h"
#include "window_style.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace velkaran {
namespace {

QLabel *MakeLabel(QWidget *Parent, const char *Name, const char *Role) {
    auto *Label = new QLabel(Parent);
    Label->setObjectName(Name);
    Label->setProperty(Role, true);
    Label->setWordWrap(true);
    return Label;
}

constexpr int CoverWidth = 520;
constexpr int FrameAllowance = 32;  // the title bar and frame a window manager adds
constexpr int CoverMargin = 32;

void Repolish(QWidget *Widget) {
    Widget->style()->unpolish(Widget);
    Widget->style()->polish(Widget);
}

}  // namespace

GameWindow::GameWindow() {
    setObjectName("VelkuiGameWindow");
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Velkaran — партия"));
    setStyleSheet(QString::fromUtf8(WindowStyleSheet));
    Pages_ = new QStackedWidget(this);
    Pages_->addWidget(CoverPage_ = MakeCoverPage());
    Pages_->addWidget(BoardPage_ = MakeBoardPage());
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Pages_);
    resize(1060, 650);
}

QWidget *GameWindow::MakeCoverPage() {
    auto *Page = new QWidget(this);
    Page->setObjectName("coverPage");
    auto *Box = new QFrame(Page);
    Box->setProperty("outcomeBox", true);
    Box->setFixedWidth(CoverWidth + 2 * CoverMargin);
    CoverHeadline_ = MakeLabel(Box, "coverHeadline", "headline");
    CoverText_ = MakeLabel(Box, "coverText", "notice");
    CoverHeadline_->setAlignment(Qt::AlignCenter);
    CoverText_->setAlignment(Qt::AlignCenter);
    CoverButton_ = new QPushButton(Box);
    CoverButton_->setObjectName("coverButton");
    CoverButton_->setMinimumSize(220, 36);
    CoverButton_->setDefault(true);
    connect(CoverButton_, &QPushButton::clicked, this, [this] { Answer({TAnswerKind::Acknowledged, 0}); });
    auto *BoxLayout = new QVBoxLayout(Box);
    BoxLayout->setContentsMargins(CoverMargin, 28, CoverMargin, 28);
    BoxLayout->setSpacing(14);
    BoxLayout->addWidget(CoverHeadline_);
    BoxLayout->addWidget(CoverText_);
    BoxLayout->addWidget(CoverButton_, 0, Qt::AlignHCenter);
    auto *Layout = new QVBoxLayout(Page);
    Layout->addStretch(2);
    Layout->addWidget(Box, 0, Qt::AlignHCenter);
    Layout->addStretch(3);
    return Page;
}

QWidget *GameWindow::MakeBoardPage() {
    auto *Page = new QWidget(this);
    Page->setObjectName("boardPage");
    TurnLabel_ = MakeLabel(Page, "turnLabel", "turnLine");
    LastMoveLabel_ = MakeLabel(Page, "lastMoveLabel", "lastMove");
    auto *PanelRow = new QHBoxLayout;
    PanelRow->setSpacing(14);
    for (int Side = 0; Side < 2; ++Side) {
        Panels_[Side] = new PlayerPanel(Page);
        Panels_[Side]->setObjectName(Side == 0 ? "leftPanel" : "rightPanel");
        PanelRow->addWidget(Panels_[Side], 1);
    }

    HandArea_ = new QWidget(Page);
    HandArea_->setObjectName("handArea");
    Notice_ = MakeLabel(HandArea_, "noticeLabel", "notice");
    Acknowledge_ = new QPushButton(QStringLiteral("Понятно"), HandArea_);
    Acknowledge_->setObjectName("acknowledgeButton");
    Acknowledge_->setMinimumWidth(140);
    connect(Acknowledge_, &QPushButton::clicked, this, [this] { Answer({TAnswerKind::Acknowledged, 0}); });
    auto *NoticeRow = new QHBoxLayout;
    NoticeRow->addWidget(Notice_, 1);
    NoticeRow->addWidget(Acknowledge_);
    auto *Grid = new QGridLayout;
    Grid->setSpacing(8);
    constexpr int Columns = 5;
    for (int Slot = 0; Slot < CardSetSize; ++Slot) {
        auto *Tile = new CardTile(HandArea_);
        connect(Tile, &QPushButton::clicked, this, [this, Tile] {
            Answer({TAnswerKind::Card, Tile->Card()});
        });
        Grid->addWidget(Tile, Slot / Columns, Slot % Columns);
        Tiles_.push_back(Tile);
    }
    for (int Column = 0; Column < Columns; ++Column) Grid->setColumnStretch(Column, 1);
    auto *HandLayout = new QVBoxLayout(HandArea_);
    HandLayout->setContentsMargins(0, 0, 0, 0);
    HandLayout->setSpacing(8);
    HandLayout->addLayout(NoticeRow);
    HandLayout->addLayout(Grid, 1);
    HandLayout->addStretch(0);  // keeps the notice at the top should the hand be empty

    FinalArea_ = new QFrame(Page);
    FinalArea_->setObjectName("finalArea");
    FinalArea_->setProperty("outcomeBox", true);
    FinalHeadline_ = MakeLabel(FinalArea_, "finalHeadline", "headline");
    FinalText_ = MakeLabel(FinalArea_, "finalText", "notice");
    FinalText_->setTextFormat(Qt::PlainText);  // the host's words may quote a bot
    Close_ = new QPushButton(QStringLiteral("Закрыть"), FinalArea_);
    Close_->setObjectName("closeButton");
    Close_->setMinimumSize(160, 34);
    connect(Close_, &QPushButton::clicked, this, [this] { Answer({TAnswerKind::Acknowledged, 0}); });
    auto *FinalLayout = new QVBoxLayout(FinalArea_);
    FinalLayout->setContentsMargins(24, 20, 24, 20);
    FinalLayout->setSpacing(10);
    FinalLayout->addWidget(FinalHeadline_);
    FinalLayout->addWidget(FinalText_);
    FinalLayout->addWidget(Close_, 0, Qt::AlignRight);

    auto *Layout = new QVBoxLayout(Page);
    Layout->setContentsMargins(18, 14, 18, 16);
    Layout->setSpacing(10);
    Layout->addWidget(TurnLabel_);
    Layout->addWidget(LastMoveLabel_);
    Layout->addLayout(PanelRow);
    Layout->addSpacing(4);
    Layout->addWidget(HandArea_, 1);
    Layout->addWidget(FinalArea_, 1);
    FinalArea_->setVisible(
        false);  // shown instead of the hand at the end: never both in the window's minimum
    return Page;
}

void GameWindow::ShowCover(const QString &Headline, const QString &Text, const QString &ButtonText) {
    CoverHeadline_->setText(Headline);
    CoverText_->setText(Text);
    CoverText_->setFixedHeight(CoverText_->heightForWidth(CoverWidth));
    CoverButton_->setText(ButtonText);
    CoverButton_->setVisible(!ButtonText.isEmpty());
    Pages_->setCurrentWidget(CoverPage_);
    if (!ButtonText.isEmpty()) CoverButton_->setFocus();
}

void GameWindow::ShowTurn(const TTurnScreen &Screen) {
    TurnLabel_->setText(Screen.TurnLine);
    LastMoveLabel_->setText(Screen.LastMove);
    Panels_[0]->ShowStatus(Screen.Own.Name.toStdString(), Screen.Own.Note.toStdString(), Screen.Own.Status);
    Panels_[1]->ShowStatus(Screen.Opponent.Name.toStdString(), Screen.Opponent.Note.toStdString(),
                           Screen.Opponent.Status);
    const bool NothingPlayable = Screen.Playable.empty();
    Notice_->setText(
        NothingPlayable ? QStringLiteral("Вам нечем заплатить ни за одну карту: в этом раунде вы пропускаете "
                                         "ход. Ресурсы пополнятся в конце раунда.")
                        : QStringLiteral("Выберите карту. На недоступных картах указано, чего не хватает."));
    Notice_->setProperty("alert", NothingPlayable);
    Repolish(Notice_);
    Acknowledge_->setVisible(NothingPlayable);
    for (std::size_t Slot = 0; Slot < Tiles_.size(); ++Slot) {
        CardTile *Tile = Tiles_[Slot];
        if (Slot >= Screen.Hand.size()) {
            Tile->setVisible(false);
            continue;
        }
        const int32_t Card = Screen.Hand[Slot];
        const bool Playable =
            std::find(Screen.Playable.begin(), Screen.Playable.end(), Card) != Screen.Playable.end();
        Tile->ShowCard(Card, Playable, Screen.Own.Status);
        Tile->setVisible(true);
    }
    HandArea_->setVisible(true);
    FinalArea_->setVisible(false);
    Pages_->setCurrentWidget(BoardPage_);
    if (NothingPlayable) Acknowledge_->setFocus();
}

void GameWindow::ShowMoveMade(const QString &TurnLine) {
    TurnLabel_->setText(TurnLine);
    for (CardTile *Tile : Tiles_) Tile->setEnabled(false);
    Acknowledge_->setVisible(false);
    Notice_->setText(QStringLiteral("Ход сделан. Ждём соперника…"));
    Notice_->setProperty("alert", false);
    Repolish(Notice_);
}

void GameWindow::ShowFinal(const TFinalScreen &Screen) {
    TurnLabel_->setText(QStringLiteral("Итог партии"));
    LastMoveLabel_->setText(Screen.LastMove);
    for (int Side = 0; Side < 2; ++Side)
        Panels_[Side]->ShowStatus(Screen.Players[Side].Name.toStdString(),
                                  Screen.Players[Side].Note.toStdString(), Screen.Players[Side].Status);
    FinalHeadline_->setText(Screen.Headline);
    const QString Detail =
        Screen.Detail.isEmpty() ? QString() : QStringLiteral("Причина: %1\n").arg(Screen.Detail);
    FinalText_->setText(Screen.Reason + QStringLiteral("\n") + Detail + Screen.Length);
    HandArea_->setVisible(false);
    FinalArea_->setVisible(true);
    Pages_->setCurrentWidget(BoardPage_);
    BoardPage_->layout()->activate();
    resize(width(), layout()->sizeHint().height());  // no hand: the window needs only the board's height
    Close_->setFocus();
}

TAnswer GameWindow::Await(bool Resignable, const QString &Resigner) {
    Resignable_ = Resignable;
    Resigner_ = Resigner;
    Answer_ = {};
    QEventLoop Loop;
    Loop_ = &Loop;
    Loop.exec();  // returns at once when the application is shutting down
    Loop_ = nullptr;
    Resignable_ = false;
    Resigner_.clear();
    return Answer_;
}

void GameWindow::Answer(TAnswer Reply) {
    if (Loop_ == nullptr) return;
    Answer_ = Reply;
    Loop_->quit();
}

bool GameWindow::AskToResign() {
    return AskToLeave(
        this, {QStringLiteral("Сдаться?"),
               QString::fromStdString(ResignQuestionText(Resigner_.toStdString())), QStringLiteral("Сдаться"),
               QStringLiteral("Продолжить игру"), "resignQuestion", "resignYes", "resignNo"});
}

void GameWindow::closeEvent(QCloseEvent *Event) {
    Event->ignore();  // the game decides when the window goes; HideGameInterface removes it
    if (Loop_ == nullptr) return;
    if (!Resignable_) {
        Answer({TAnswerKind::Acknowledged, 0});
        return;
    }
    if (AskToResign()) Answer({TAnswerKind::Resigned, 0});
}

void GameWindow::keyPressEvent(QKeyEvent *Event) {
    const int Key = Event->key();
    const bool Closing = Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Escape;
    if (Closing && Loop_ != nullptr && Pages_->currentWidget() == BoardPage_ && FinalArea_->isVisible()) {
        Answer({TAnswerKind::Acknowledged, 0});
        return;
    }
    if (Key == Qt::Key_Escape) {
        close();  // as the title bar's close button: asks before a human leaves the game
        return;
    }
    // Return presses the focused button, as in a dialog: it plays a focused card.
    auto *Focused = qobject_cast<QAbstractButton *>(focusWidget());
    if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && Focused != nullptr && Focused->isEnabled() &&
        Focused->isVisible()) {
        Focused->click();
        return;
    }
    QWidget::keyPressEvent(Event);
}

void GameWindow::showEvent(QShowEvent *Event) {
    QWidget::showEvent(Event);
    if (Placed_ || Event->spontaneous()) return;
    Placed_ = true;
    // At most the screen's free area (a 1366 x 768 screen with a panel), centred on it.
    if (const QScreen *Screen = screen()) {
        const QRect Free = Screen->availableGeometry();
        resize(std::min(width(), Free.width()), std::min(height(), Free.height() - FrameAllowance));
        move(Free.center() - QPoint(width() / 2, (height() + FrameAllowance) / 2));
    }
}

}  // namespace velkaran
