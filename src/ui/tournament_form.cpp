#include "tournament_form.h"

#include "summary_table.h"
#include "tournament_run.h"
#include "tournament_view.h"

#include "summary/tournament_setup.h"
#include "summary/tournament_summary.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace velkaran {

namespace {

QSpinBox *NewSpin(const char *Name, int Minimum, int Maximum, int Value, QWidget *Parent) {
    auto *Spin = new QSpinBox(Parent);
    Spin->setObjectName(QString::fromLatin1(Name));
    Spin->setRange(Minimum, Maximum);
    Spin->setValue(Value);
    return Spin;
}

}  // namespace

TTournamentForm::TTournamentForm(std::vector<TTournamentBot> Offered, TRunnerSettings RunSettings,
                                 std::string Folder, QWidget *Parent)
    : QDialog(Parent),
      BotList(new QListWidget(this)),
      RoundRobinButton(new QRadioButton(QStringLiteral("Круговой: каждый с каждым"), this)),
      GauntletButton(new QRadioButton(QStringLiteral("Один против всех:"), this)),
      GauntletBotBox(new QComboBox(this)),
      PairsSpin(NewSpin("PairsSpin", 1, 1'000'000, 10, this)),
      ConcurrencySpin(NewSpin("ConcurrencySpin", 1, 64, std::max(1, QThread::idealThreadCount()), this)),
      TurnLimitSpin(NewSpin("TurnLimitSpin", MinTurnLimit, MaxTurnLimit, DefaultTurnLimit, this)),
      MoveLimitSpin(NewSpin("MoveLimitSpin", MinMoveLimitMs, MaxMoveLimitMs, DefaultMoveLimitMs, this)),
      StartPositionsSpin(NewSpin("StartPositionsSpin", 0, static_cast<int>(MaxOpenings), 0, this)),
      ProblemLabel(new QLabel(this)),
      ProgressLabel(new QLabel(this)),
      StandingsTable(NewSummaryTable("StandingsTable", this)),
      CrosstableTable(NewSummaryTable("CrosstableTable", this)),
      StartButton(new QPushButton(QStringLiteral("Начать"), this)),
      StopAfterGamesButton(new QPushButton(QStringLiteral("Остановить после текущих игр"), this)),
      StopNowButton(new QPushButton(QStringLiteral("Остановить сразу"), this)),
      CloseButton(new QPushButton(QStringLiteral("Закрыть"), this)),
      Bots(std::move(Offered)),
      Settings(std::move(RunSettings)),
      KeepFolder(std::move(Folder)),
      RefreshTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("TournamentForm"));
    setWindowTitle(QStringLiteral("Турнир"));
    setSizeGripEnabled(true);
    BotList->setObjectName(QStringLiteral("BotList"));
    const std::vector<std::string> Names = ShownBotNames(Bots);
    for (std::size_t Bot = 0; Bot < Bots.size(); ++Bot) {
        auto *Item = new QListWidgetItem(QString::fromStdString(Names[Bot]), BotList);
        Item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        Item->setCheckState(Qt::Checked);
        Item->setToolTip(QString::fromStdString(Bots[Bot].File));
        GauntletBotBox->addItem(QString::fromStdString(Names[Bot]), static_cast<int>(Bot));
    }
    RoundRobinButton->setObjectName(QStringLiteral("RoundRobinButton"));
    GauntletButton->setObjectName(QStringLiteral("GauntletButton"));
    GauntletBotBox->setObjectName(QStringLiteral("GauntletBotBox"));
    RoundRobinButton->setChecked(true);
    PairsSpin->setToolTip(QStringLiteral("Пара — две игры, в которых боты меняются местами"));
    ConcurrencySpin->setToolTip(
        QStringLiteral("Сколько игр идёт одновременно, каждая со своими процессами ботов"));
    MoveLimitSpin->setToolTip(QStringLiteral("Бот, чей ход длится дольше, проигрывает по времени"));
    StartPositionsSpin->setToolTip(QStringLiteral(
        "Пара P начинает обе игры с позиции P по кругу из стольких случайных позиций; 0 — обычное начало"));
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProblemLabel->setWordWrap(true);
    for (QPushButton *Button : {StartButton, StopAfterGamesButton, StopNowButton, CloseButton})
        Button->setAutoDefault(false);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    StopAfterGamesButton->setObjectName(QStringLiteral("StopAfterGamesButton"));
    StopNowButton->setObjectName(QStringLiteral("StopNowButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    connect(BotList, &QListWidget::itemChanged, this, [this] { UpdateControls(); });
    connect(RoundRobinButton, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(GauntletBotBox, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
    connect(StartButton, &QPushButton::clicked, this, [this] { StartButtonClick(StartButton); });
    connect(StopAfterGamesButton, &QPushButton::clicked, this, [this] {
        if (Run) Run->RequestStop(TStopRequest::AfterThisGame);
        Refresh();
    });
    connect(StopNowButton, &QPushButton::clicked, this, [this] {
        if (Run) Run->RequestStop(TStopRequest::AtOnce);
        Refresh();
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    RefreshTimer->setInterval(500);
    connect(RefreshTimer, &QTimer::timeout, this, [this] { Refresh(); });

    auto *Format = new QHBoxLayout;
    Format->addWidget(RoundRobinButton);
    Format->addWidget(GauntletButton);
    Format->addWidget(GauntletBotBox);
    Format->addStretch();
    auto *Numbers = new QFormLayout;
    Numbers->addRow(QStringLiteral("Пар игр на встречу"), PairsSpin);
    Numbers->addRow(QStringLiteral("Игр одновременно"), ConcurrencySpin);
    Numbers->addRow(QStringLiteral("Максимум ходов"), TurnLimitSpin);
    Numbers->addRow(QStringLiteral("Время на ход, мс"), MoveLimitSpin);
    Numbers->addRow(QStringLiteral("Начальных позиций"), StartPositionsSpin);
    auto *Setup = new QHBoxLayout;
    auto *BotsBox = new QGroupBox(QStringLiteral("Боты"), this);
    auto *BotsLayout = new QVBoxLayout(BotsBox);
    BotsLayout->addWidget(BotList);
    BotList->setMaximumHeight(140);
    Setup->addWidget(BotsBox, 1);
    auto *Right = new QVBoxLayout;
    Right->addLayout(Format);
    Right->addLayout(Numbers);
    Setup->addLayout(Right, 1);

    auto *Tables = new QWidget;
    auto *TablesLayout = new QVBoxLayout(Tables);
    TablesLayout->addWidget(StandingsTable, 0, Qt::AlignLeft);
    TablesLayout->addWidget(CrosstableTable, 0, Qt::AlignLeft);
    TablesLayout->addStretch();
    auto *Scroll = new QScrollArea(this);
    Scroll->setWidget(Tables);
    Scroll->setWidgetResizable(true);

    auto *Buttons = new QHBoxLayout;
    Buttons->addWidget(StartButton);
    Buttons->addWidget(StopAfterGamesButton);
    Buttons->addWidget(StopNowButton);
    Buttons->addStretch();
    Buttons->addWidget(CloseButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->addLayout(Setup);
    Layout->addWidget(ProblemLabel);
    Layout->addWidget(ProgressLabel);
    Layout->addWidget(Scroll, 1);
    Layout->addLayout(Buttons);
    resize(900, 620);
    UpdateControls();
}

TTournamentForm::~TTournamentForm() { Run.reset(); }

void TTournamentForm::UpdateControls() {
    const bool Playing = Run && !Run->Finished();
    TTournamentChoice Choice;
    Choice.Bots = Bots;
    for (int Row = 0; Row < BotList->count(); ++Row)
        Choice.Chosen.push_back(BotList->item(Row)->checkState() == Qt::Checked);
    Choice.Gauntlet = GauntletButton->isChecked();
    Choice.GauntletBot = GauntletBotBox->currentData().isValid() ? GauntletBotBox->currentData().toInt() : -1;
    const QString Problem = QString::fromStdString(TournamentChoiceProblem(Choice));
    ProblemLabel->setText(Problem);
    ProblemLabel->setVisible(!Problem.isEmpty() && !Playing);
    StartButton->setEnabled(Problem.isEmpty() && !Playing);
    GauntletBotBox->setEnabled(GauntletButton->isChecked() && !Playing);
    for (QWidget *Control :
         std::initializer_list<QWidget *>{BotList, RoundRobinButton, GauntletButton, PairsSpin,
                                          ConcurrencySpin, TurnLimitSpin, MoveLimitSpin, StartPositionsSpin})
        Control->setEnabled(!Playing);
    StopAfterGamesButton->setEnabled(Playing && Run->StopRequested() == TStopRequest::None);
    StopNowButton->setEnabled(Playing && Run->StopRequested() != TStopRequest::AtOnce);
}

void TTournamentForm::StartButtonClick(QObject *) {
    if (Run && !Run->Finished()) return;
    TTournamentChoice Choice;
    Choice.Bots = Bots;
    for (int Row = 0; Row < BotList->count(); ++Row)
        Choice.Chosen.push_back(BotList->item(Row)->checkState() == Qt::Checked);
    Choice.Gauntlet = GauntletButton->isChecked();
    Choice.GauntletBot = GauntletBotBox->currentData().isValid() ? GauntletBotBox->currentData().toInt() : -1;
    Choice.Pairs = PairsSpin->value();
    Choice.TurnLimit = TurnLimitSpin->value();
    Choice.MoveLimitMs = MoveLimitSpin->value();
    Choice.StartPositions = StartPositionsSpin->value();
    std::string Error;
    const std::optional<TTournamentConfig> Config = ChosenTournament(Choice, Error);
    if (!Config) {
        ProblemLabel->setText(QString::fromStdString(Error));
        ProblemLabel->setVisible(true);
        return;
    }
    TRunnerSettings Playing = Settings;
    Playing.Concurrency = ConcurrencySpin->value();
    Run.reset();
    Run = std::make_unique<TTournamentRun>(*Config, Playing, KeepFolder,
                                           QLocale().decimalPoint().toStdString());
    ShownGames = -1;
    Reported = false;
    Run->Start();
    RefreshTimer->start();
    Refresh();
}

void TTournamentForm::Refresh() {
    UpdateControls();
    if (!Run) return;
    const bool Finished = Run->Finished();
    const int64_t Games = Run->GamesDone();
    ProgressLabel->setText(
        QString::fromStdString(TournamentProgressText(Games, Run->GamesTotal(), Run->ElapsedSeconds(),
                                                      Run->StopRequested() != TStopRequest::None, Finished)));
    if (Games != ShownGames || Finished) {
        // Made anew only after a game has ended: a quiet tournament costs the window next to nothing.
        ShownGames = Games;
        const std::shared_ptr<const TTournamentSummary> Now = Finished ? Run->Summary() : Run->Standings();
        const TTournamentText Text = TournamentText(*Now);
        ShowTextTable(StandingsTable, Text.Standings, 2);
        ShowTextTable(CrosstableTable, Text.Crosstable);
    }
    if (!Finished || Reported) return;
    Reported = true;
    RefreshTimer->stop();
    if (OnKept) OnKept(Run->KeptDocument());
    QString Status = ProgressLabel->text();
    if (!Run->Failure().empty())
        Status += QStringLiteral("\nОшибка: %1").arg(QString::fromStdString(Run->Failure()));
    if (!Run->KeptDocument().empty())
        Status += QStringLiteral("\nТурнир сохранён: %1").arg(QString::fromStdString(Run->KeptDocument()));
    else if (!Run->KeepFailure().empty())
        Status += QStringLiteral("\nТурнир не сохранён: %1").arg(QString::fromStdString(Run->KeepFailure()));
    ProgressLabel->setText(Status);
    // A window of its own beside the dialog's parent, so that it stays when the dialog is closed.
    ResultsForm = new TTournamentResultsForm(parentWidget());
    ResultsForm->setAttribute(Qt::WA_DeleteOnClose);
    connect(ResultsForm, &QObject::destroyed, this, [this, Form = ResultsForm] {
        if (ResultsForm == Form) ResultsForm = nullptr;
    });
    ResultsForm->ShowSummary(Run->Summary(), QString::fromStdString(Run->KeptDocument()));
    ResultsForm->show();
    UpdateControls();
}

void TTournamentForm::closeEvent(QCloseEvent *Event) {
    // Closing the window stops its tournament at once; what was played is kept.
    if (Run && !Run->Finished()) {
        Run->RequestStop(TStopRequest::AtOnce);
        while (!Run->Finished()) QThread::msleep(10);
        Refresh();
    }
    QDialog::closeEvent(Event);
}

}  // namespace velkaran
