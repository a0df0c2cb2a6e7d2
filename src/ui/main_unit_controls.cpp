// The main window's controls: captions, initial states, limits, layout and tab order.
#include "main_unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace velkaran {

namespace {

constexpr int ClientWidth = 411;
constexpr int ClientHeight = 256;  // 236 of the original controls and the status line

constexpr int GameCountStep = 10;
constexpr int GameCountDefault = 100;
constexpr int TurnLimitStep = 5;
constexpr int MoveLimitStep = 1000;

template <typename TControl>
TControl *Named(TControl *Control, const char *Name) {
    Control->setObjectName(QString::fromLatin1(Name));
    return Control;
}

QGroupBox *PlayerBox(const QString &Caption, QCheckBox *Human, QComboBox *List, QWidget *Parent) {
    auto *Box = new QGroupBox(Caption, Parent);
    auto *Layout = new QVBoxLayout(Box);
    Layout->setContentsMargins(8, 2, 8, 6);
    Layout->setSpacing(3);
    Human->setParent(Box);
    List->setParent(Box);
    Layout->addWidget(Human);
    Layout->addWidget(List);
    return Box;
}

}  // namespace

void TVelkaranMainForm::CreateControls() {
    setWindowTitle(QStringLiteral("Velkaran"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont FormFont(QStringLiteral("Tahoma"));
    FormFont.setPixelSize(11);
    setFont(FormFont);

    StartGameButton = Named(new QPushButton(QStringLiteral("Начать игру"), this), "StartGameButton");
    AvailBotsComboBox = Named(new QComboBox(this), "AvailBotsComboBox");
    AvailSecondBotsComboBox = Named(new QComboBox(this), "AvailSecondBotsComboBox");
    HumanCheckBox1 = Named(new QCheckBox(QStringLiteral("Человек"), this), "HumanCheckBox1");
    HumanCheckBox2 = Named(new QCheckBox(QStringLiteral("Человек"), this), "HumanCheckBox2");
    FirstPlayerGroupBox =
        Named(PlayerBox(QStringLiteral("Игрок №1"), HumanCheckBox1, AvailBotsComboBox, this),
              "FirstPlayerGroupBox");
    SecondPlayerGroupBox =
        Named(PlayerBox(QStringLiteral("Игрок №2"), HumanCheckBox2, AvailSecondBotsComboBox, this),
              "SecondPlayerGroupBox");
    AboutButton = Named(new QPushButton(QStringLiteral("Об игре"), this), "AboutButton");
    RulesButton = Named(new QPushButton(QStringLiteral("Правила"), this), "RulesButton");
    OpenRecordButton = Named(new QPushButton(QStringLiteral("Открыть…"), this), "OpenRecordButton");
    OpenRecordButton->setToolTip(
        QStringLiteral("Открыть сохранённый матч (его итоги) или файл записей игр (просмотр игр)"));
    RecentFilesButton = Named(new QToolButton(this), "RecentFilesButton");
    RecentFilesButton->setText(QStringLiteral("Недавние ▾"));
    RecentFilesButton->setPopupMode(QToolButton::InstantPopup);
    RecentFilesButton->setStyleSheet(
        QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    RecentFilesButton->setToolTip(QStringLiteral("Недавно открытые файлы"));
    RecentFilesButton->setMenu(new QMenu(RecentFilesButton));
    ResultsButton = Named(new QPushButton(QStringLiteral("Результаты…"), this), "ResultsButton");
    ResultsButton->setToolTip(QStringLiteral("Сохранённые серии и открытые файлы"));
    TournamentButton = Named(new QPushButton(QStringLiteral("Турнир…"), this), "TournamentButton");
    TournamentButton->setToolTip(QStringLiteral("Турнир найденных ботов: круговой или один против всех"));
    BotStatusLabel = Named(new QLabel(this), "BotStatusLabel");
    BotStatusLabel->setTextFormat(Qt::PlainText);
    BotStatusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    BotGameOptionsRadioGroup =
        Named(new TRadioGroup(QStringLiteral("Настройки"),
                              {QStringLiteral("Произвести одну игру и вывести результат"),
                               QStringLiteral("Произвести несколько игр и вывести статистику")},
                              this),
              "BotGameOptionsRadioGroup");
    AdditionalOptionsGroupBox =
        Named(new QGroupBox(QStringLiteral("Дополнительные настройки"), this), "AdditionalOptionsGroupBox");
    Label1 = Named(new QLabel(QStringLiteral("Количество игр"), AdditionalOptionsGroupBox), "Label1");
    GameCountSpinEdit =
        Named(new TIntegerSpinEdit(0, 0, GameCountStep, GameCountDefault, AdditionalOptionsGroupBox),
              "GameCountSpinEdit");
    GameCountSpinEdit->setToolTip(QStringLiteral(
        "Серия из N + N игр: N игр игрок №1 ходит первым, затем N игр игроки меняются местами"));
    Label2 = Named(new QLabel(QStringLiteral("Максимум ходов"), AdditionalOptionsGroupBox), "Label2");
    TurnLimitSpinEdit = Named(new TIntegerSpinEdit(MinTurnLimit, MaxTurnLimit, TurnLimitStep,
                                                   DefaultTurnLimit, AdditionalOptionsGroupBox),
                              "TurnLimitSpinEdit");
    MoveLimitLabel =
        Named(new QLabel(QStringLiteral("Время на ход, мс"), AdditionalOptionsGroupBox), "MoveLimitLabel");
    MoveLimitSpinEdit = Named(new TIntegerSpinEdit(MinMoveLimitMs, MaxMoveLimitMs, MoveLimitStep,
                                                   DefaultMoveLimitMs, AdditionalOptionsGroupBox),
                              "MoveLimitSpinEdit");
    MoveLimitSpinEdit->setToolTip(
        QStringLiteral("Бот, чей ход длится дольше, проигрывает по времени (только в играх двух ботов)"));

    // Initial state: player 1 a human, player 2 a bot, one game, the game count not in use.
    HumanCheckBox1->setChecked(true);
    HumanCheckBox2->setChecked(false);
    AvailBotsComboBox->setEnabled(false);
    AvailSecondBotsComboBox->setEnabled(true);
    BotGameOptionsRadioGroup->setEnabled(false);
    Label1->setEnabled(false);
    GameCountSpinEdit->setEnabled(false);
    StartGameButton->setEnabled(true);

    // Player boxes side by side, the mode and the additional settings across, buttons at the bottom.
    auto *Players = new QHBoxLayout;
    Players->setSpacing(6);
    Players->addWidget(FirstPlayerGroupBox);
    Players->addWidget(SecondPlayerGroupBox);

    auto *Additional = new QGridLayout(AdditionalOptionsGroupBox);
    Additional->setContentsMargins(8, 2, 8, 6);
    Additional->setHorizontalSpacing(12);
    Additional->setVerticalSpacing(2);
    Additional->addWidget(Label1, 0, 0);
    Additional->addWidget(GameCountSpinEdit, 1, 0);
    Additional->addWidget(Label2, 0, 1);
    Additional->addWidget(TurnLimitSpinEdit, 1, 1);
    Additional->addWidget(MoveLimitLabel, 0, 2);
    Additional->addWidget(MoveLimitSpinEdit, 1, 2);

    auto *Buttons = new QHBoxLayout;
    Buttons->addWidget(AboutButton);
    Buttons->addWidget(RulesButton);
    Buttons->addWidget(OpenRecordButton);
    Buttons->addWidget(ResultsButton);
    Buttons->addStretch();
    Buttons->addWidget(StartGameButton);

    auto *Window = new QVBoxLayout(this);
    Window->setContentsMargins(6, 4, 6, 6);
    Window->setSpacing(4);
    Window->addLayout(Players);
    Window->addWidget(BotGameOptionsRadioGroup);
    Window->addWidget(AdditionalOptionsGroupBox);
    Window->addStretch();
    auto *Status = new QHBoxLayout;
    Status->addWidget(BotStatusLabel, 1);
    Status->addWidget(RecentFilesButton);  // beside the buttons' row, whose width is taken
    Status->addWidget(TournamentButton);
    Window->addLayout(Status);
    Window->addLayout(Buttons);

    // Tab follows the layout: the players, the settings, then the buttons along the bottom.
    QWidget *const Chain[] = {HumanCheckBox1,
                              AvailBotsComboBox,
                              HumanCheckBox2,
                              AvailSecondBotsComboBox,
                              BotGameOptionsRadioGroup->Item(0),
                              BotGameOptionsRadioGroup->Item(1),
                              GameCountSpinEdit,
                              TurnLimitSpinEdit,
                              MoveLimitSpinEdit,
                              RecentFilesButton,
                              TournamentButton,
                              AboutButton,
                              RulesButton,
                              OpenRecordButton,
                              ResultsButton,
                              StartGameButton};
    for (std::size_t Next = 1; Next < std::size(Chain); ++Next) setTabOrder(Chain[Next - 1], Chain[Next]);

    setFixedSize(ClientWidth, ClientHeight);
    if (const QScreen *Screen = QGuiApplication::primaryScreen())
        move(Screen->availableGeometry().center() - rect().center());
}

}  // namespace velkaran
