#include "replay_form.h"

#include "card_set_view.h"
#include "velkui/window_placement.h"

#include "summary/replay_text.h"
#include "velkui/player_panel.h"
#include "velkui/window_style.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace velkaran {

namespace {

// Moves per second the viewer plays at, and the one it starts with.
constexpr std::array<int, 5> Speeds = {1, 2, 5, 10, 25};
constexpr int DefaultSpeedItem = 1;

// The look of the replay's cards, beside the game window's own style.
constexpr char ReplayStyleSheet[] = R"(
QLabel[replayCard="true"] { background: #ffffff; border: 1px solid #c9bda3; border-radius: 5px; padding: 3px; }
QLabel[replayCard="true"][payable="false"] { background: #ebe7de; color: #8d8677; }
QLabel[replayCard="true"][justPlayed="true"] { background: #f7e6b8; border: 2px solid #b9822a; color: #2f2a22; }
QLabel[value="true"][changed="true"] { background: #f7e6b8; border-radius: 3px; color: #8a4b12; }
QLabel#HeadlineLabel { font-size: 17px; font-weight: bold; color: #2f2a22; }
QLabel#TitleLabel { font-size: 14px; font-weight: bold; color: #4d463a; }
QLabel#OutcomeLabel { font-weight: bold; color: #2f2a22; }
)";

QPushButton *NewButton(const QString &Text, const char *Name, QWidget *Parent) {
    auto *Button = new QPushButton(Text, Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->setAutoDefault(false);
    return Button;
}

QString SpeedText(int MovesPerSecond) {
    const int Last = MovesPerSecond % 10;
    const bool Teen = MovesPerSecond % 100 >= 11 && MovesPerSecond % 100 <= 14;
    const char *Word = (Last == 1 && !Teen) ? "ход" : (Last >= 2 && Last <= 4 && !Teen) ? "хода" : "ходов";
    return QStringLiteral("%1 %2 в секунду").arg(MovesPerSecond).arg(QString::fromUtf8(Word));
}

}  // namespace

TReplayForm::TReplayForm(QWidget *Parent)
    : QDialog(Parent),
      GameSpinBox(new QSpinBox(this)),
      TitleLabel(new QLabel(this)),
      HeadlineLabel(new QLabel(this)),
      Panels{new PlayerPanel(this), new PlayerPanel(this)},
      CardSets{new TCardSetView(this), new TCardSetView(this)},
      LastMoveLabel(new QLabel(this)),
      OutcomeLabel(new QLabel(this)),
      MoveList(new QListWidget(this)),
      FirstStepButton(NewButton(QStringLiteral("В начало"), "FirstStepButton", this)),
      StepBackButton(NewButton(QStringLiteral("← Назад"), "StepBackButton", this)),
      PlayButton(NewButton(QStringLiteral("▶ Играть"), "PlayButton", this)),
      StepForwardButton(NewButton(QStringLiteral("Вперёд →"), "StepForwardButton", this)),
      LastStepButton(NewButton(QStringLiteral("В конец"), "LastStepButton", this)),
      StepSlider(new QSlider(Qt::Horizontal, this)),
      RoundSpinBox(new QSpinBox(this)),
      GoToRoundButton(NewButton(QStringLiteral("Перейти"), "GoToRoundButton", this)),
      SpeedComboBox(new QComboBox(this)),
      PlayTimer(new QTimer(this)) {
    CreateControls();
}

void TReplayForm::CreateControls() {
    setObjectName(QStringLiteral("ReplayForm"));
    setWindowTitle(QStringLiteral("Просмотр игры"));
    setModal(false);
    setStyleSheet(QString::fromUtf8(WindowStyleSheet) + QString::fromUtf8(ReplayStyleSheet));
    GameSpinBox->setObjectName(QStringLiteral("GameSpinBox"));
    GameSpinBox->setMinimumWidth(80);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    HeadlineLabel->setObjectName(QStringLiteral("HeadlineLabel"));
    LastMoveLabel->setObjectName(QStringLiteral("LastMoveLabel"));
    OutcomeLabel->setObjectName(QStringLiteral("OutcomeLabel"));
    for (QLabel *Label : {TitleLabel, HeadlineLabel, LastMoveLabel, OutcomeLabel}) {
        Label->setTextFormat(Qt::PlainText);
        Label->setWordWrap(true);
    }
    for (int Seat = 0; Seat < 2; ++Seat) {
        Panels[Seat]->setObjectName(QStringLiteral("Panel%1").arg(Seat + 1));
        CardSets[Seat]->setObjectName(QStringLiteral("CardSet%1").arg(Seat + 1));
    }
    MoveList->setObjectName(QStringLiteral("MoveList"));
    MoveList->setMinimumWidth(200);
    StepSlider->setObjectName(QStringLiteral("StepSlider"));
    RoundSpinBox->setObjectName(QStringLiteral("RoundSpinBox"));
    SpeedComboBox->setObjectName(QStringLiteral("SpeedComboBox"));
    for (const int Speed : Speeds) SpeedComboBox->addItem(SpeedText(Speed), Speed);
    SpeedComboBox->setCurrentIndex(DefaultSpeedItem);
    auto *CloseButton = NewButton(QStringLiteral("Закрыть"), "CloseButton", this);

    connect(GameSpinBox, &QSpinBox::valueChanged, this, [this](int Number) {
        if (Archive) ShowGame(Archive, Number - 1);
    });
    connect(FirstStepButton, &QPushButton::clicked, this, [this] { ShowStep(0); });
    connect(StepBackButton, &QPushButton::clicked, this, [this] { ShowStep(Step - 1); });
    connect(StepForwardButton, &QPushButton::clicked, this, [this] { ShowStep(Step + 1); });
    connect(LastStepButton, &QPushButton::clicked, this, [this] { ShowStep(StepCount() - 1); });
    connect(PlayButton, &QPushButton::clicked, this, [this] { PlayButtonClick(PlayButton); });
    connect(GoToRoundButton, &QPushButton::clicked, this, [this] { GoToRoundButtonClick(GoToRoundButton); });
    connect(StepSlider, &QSlider::valueChanged, this, [this](int Value) {
        if (Value != Step) ShowStep(Value);
    });
    connect(MoveList, &QListWidget::currentRowChanged, this, [this](int Row) {
        if (Row >= 0 && Row != Step) ShowStep(Row);
    });
    connect(SpeedComboBox, &QComboBox::currentIndexChanged, this,
            [this] { PlayTimer->setInterval(1000 / SpeedComboBox->currentData().toInt()); });
    connect(PlayTimer, &QTimer::timeout, this, [this] { ShowStep(Step + 1); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    PlayTimer->setInterval(1000 / Speeds[DefaultSpeedItem]);
    for (QPushButton *Button : findChildren<QPushButton *>()) Button->installEventFilter(this);

    auto *Top = new QHBoxLayout;
    Top->addWidget(new QLabel(QStringLiteral("Игра:"), this));
    Top->addWidget(GameSpinBox);
    Top->addWidget(TitleLabel, 1);
    auto *Boards = new QGridLayout;
    Boards->setHorizontalSpacing(12);
    for (int Seat = 0; Seat < 2; ++Seat) {
        Boards->addWidget(Panels[Seat], 0, Seat);
        Boards->addWidget(CardSets[Seat], 1, Seat);
    }
    // The board scrolls when the window is smaller than it, so that the window fits any screen
    // and its controls stay in sight.
    auto *BoardArea = new QWidget;
    auto *Board = new QVBoxLayout(BoardArea);
    Board->setContentsMargins(0, 0, 0, 0);
    Board->addWidget(HeadlineLabel);
    Board->addLayout(Boards);
    Board->addWidget(LastMoveLabel);
    Board->addWidget(OutcomeLabel);
    Board->addStretch();
    auto *BoardScroll = new QScrollArea(this);
    BoardScroll->setObjectName(QStringLiteral("BoardScroll"));
    BoardScroll->setWidgetResizable(true);
    BoardScroll->setFrameShape(QFrame::NoFrame);
    BoardScroll->setWidget(BoardArea);
    auto *Middle = new QHBoxLayout;
    Middle->addWidget(BoardScroll, 1);
    Middle->addWidget(MoveList);
    auto *Steps = new QHBoxLayout;
    for (QPushButton *Button :
         {FirstStepButton, StepBackButton, PlayButton, StepForwardButton, LastStepButton})
        Steps->addWidget(Button);
    Steps->addWidget(StepSlider, 1);
    auto *Controls = new QHBoxLayout;
    Controls->addWidget(new QLabel(QStringLiteral("Раунд:"), this));
    Controls->addWidget(RoundSpinBox);
    Controls->addWidget(GoToRoundButton);
    Controls->addSpacing(12);
    Controls->addWidget(new QLabel(QStringLiteral("Скорость:"), this));
    Controls->addWidget(SpeedComboBox);
    Controls->addStretch();
    Controls->addWidget(CloseButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(12, 10, 12, 10);
    Layout->addLayout(Top);
    Layout->addLayout(Middle, 1);
    Layout->addLayout(Steps);
    Layout->addLayout(Controls);
    resize(1100, 620);  // made to fit the screen when shown
}

void TReplayForm::ShowGame(std::shared_ptr<const TRecordArchive> Shown, int64_t Game) {
    SetPlaying(false);
    Archive = std::move(Shown);
    Steps.clear();
    Step = 0;
    std::string Error;
    Record = Archive ? Archive->Read(Game, Error) : std::nullopt;
    if (Record) {
        std::optional<std::vector<TReplayStep>> Replayed = ViewerSteps(*Record, Error);
        if (Replayed) Steps = std::move(*Replayed);
    }
    {
        const QSignalBlocker Quiet(GameSpinBox);
        const auto Count = Archive ? Archive->Count() : 0;
        GameSpinBox->setRange(1, static_cast<int>(std::clamp<int64_t>(Count, 1, INT32_MAX)));
        GameSpinBox->setValue(static_cast<int>(std::clamp<int64_t>(Game + 1, 1, INT32_MAX)));
        GameSpinBox->setEnabled(Count > 1);
    }
    TitleLabel->setText(Record ? QString::fromStdString(ReplayTitle(*Record)) : QString());
    {
        const QSignalBlocker Quiet(MoveList);
        MoveList->clear();
        if (Record && !Steps.empty())
            for (const std::string &Line : MoveListText(*Record, Steps))
                MoveList->addItem(QString::fromStdString(Line));
    }
    {
        const QSignalBlocker Quiet(StepSlider);
        StepSlider->setRange(0, static_cast<int>(std::max<int64_t>(StepCount() - 1, 0)));
    }
    RoundSpinBox->setRange(1, std::max(Record ? Record->Rounds : 1, 1));
    for (QWidget *Control :
         std::initializer_list<QWidget *>{FirstStepButton, StepBackButton, PlayButton, StepForwardButton,
                                          LastStepButton, StepSlider, RoundSpinBox, GoToRoundButton})
        Control->setEnabled(!Steps.empty());
    if (!Steps.empty()) {
        ShowStep(0);
        return;
    }
    // Nothing to step through: what went wrong, and the end the record states.
    HeadlineLabel->setText(
        QStringLiteral("Игру нельзя воспроизвести: %1").arg(QString::fromStdString(Error)));
    LastMoveLabel->clear();
    OutcomeLabel->setText(Record ? QString::fromStdString(ReplayOutcomeText(*Record)) : QString());
    for (int Seat = 0; Seat < 2; ++Seat) {
        const auto Index = static_cast<std::size_t>(Seat);
        Panels[Seat]->ShowStatus(Record ? Record->Seats[Index].Name : std::string(), "конец игры",
                                 Record ? Record->Final[Index] : TPlayerStatus{});
        CardSets[Seat]->ShowCards({});
    }
}

void TReplayForm::ShowStep(int64_t Wanted) {
    if (Steps.empty()) return;
    Step = std::clamp<int64_t>(Wanted, 0, StepCount() - 1);
    const TReplayFrame Frame = ReplayFrame(*Record, Steps, static_cast<std::size_t>(Step));
    HeadlineLabel->setText(QString::fromStdString(Frame.Headline));
    LastMoveLabel->setText(QString::fromStdString(Frame.LastMove));
    OutcomeLabel->setText(QString::fromStdString(Frame.Outcome));
    OutcomeLabel->setVisible(!Frame.Outcome.empty());
    for (int Seat = 0; Seat < 2; ++Seat) {
        const TReplaySide &Side = Frame.Sides[static_cast<std::size_t>(Seat)];
        Panels[Seat]->ShowStatus(Side.Name, Side.Note, Side.Status);
        Panels[Seat]->MarkChangesFrom(Side.Before);
        CardSets[Seat]->ShowCards(Side.Cards);
    }
    {
        const QSignalBlocker Quiet(StepSlider);
        StepSlider->setValue(static_cast<int>(Step));
    }
    {
        const QSignalBlocker Quiet(MoveList);
        MoveList->setCurrentRow(static_cast<int>(Step));
    }
    {
        const QSignalBlocker Quiet(RoundSpinBox);
        RoundSpinBox->setValue(std::max(Steps[static_cast<std::size_t>(Step)].Round, 1));
    }
    StepBackButton->setEnabled(Step > 0);
    FirstStepButton->setEnabled(Step > 0);
    StepForwardButton->setEnabled(Step + 1 < StepCount());
    LastStepButton->setEnabled(Step + 1 < StepCount());
    if (Step + 1 >= StepCount()) SetPlaying(false);
}

void TReplayForm::PlayButtonClick(QObject *) {
    if (Steps.empty()) return;
    const bool Start = !PlayTimer->isActive();
    if (Start && Step + 1 >= StepCount()) ShowStep(0);  // played to the end: from the start again
    SetPlaying(Start);
}

void TReplayForm::GoToRoundButtonClick(QObject *) {
    ShowStep(static_cast<int64_t>(StepOfRound(Steps, RoundSpinBox->value())));
}

void TReplayForm::SetPlaying(bool Playing) {
    if (Playing)
        PlayTimer->start();
    else
        PlayTimer->stop();
    PlayButton->setText(Playing ? QStringLiteral("❚❚ Пауза") : QStringLiteral("▶ Играть"));
}

bool TReplayForm::eventFilter(QObject *Watched, QEvent *Event) {
    // A focused button would take the arrows to move the focus: they step through the game instead.
    if (Event->type() == QEvent::KeyPress && qobject_cast<QPushButton *>(Watched) != nullptr) {
        const int Key = static_cast<QKeyEvent *>(Event)->key();
        if (Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down) {
            ShowStep(Step + (Key == Qt::Key_Left || Key == Qt::Key_Up ? -1 : 1));
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TReplayForm::keyPressEvent(QKeyEvent *Event) {
    switch (Event->key()) {
        case Qt::Key_Right:
            ShowStep(Step + 1);
            return;
        case Qt::Key_Left:
            ShowStep(Step - 1);
            return;
        case Qt::Key_Home:
            ShowStep(0);
            return;
        case Qt::Key_End:
            ShowStep(StepCount() - 1);
            return;
        case Qt::Key_Space:
            PlayButtonClick(this);
            return;
        default:
            QDialog::keyPressEvent(Event);
    }
}

void TReplayForm::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (Placed || Event->spontaneous()) return;
    Placed = true;
    CentreOnParent(*this);
}

}  // namespace velkaran
