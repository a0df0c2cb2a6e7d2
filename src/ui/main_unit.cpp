#include "main_unit.h"

#include "bot_choice.h"
#include "decimal_separator.h"
#include "match_run.h"
#include "progress_form.h"
#include "records/record_file.h"
#include "replay_form.h"
#include "results_list_form.h"
#include "settings_rules.h"
#include "stored_settings.h"
#include "tournament_form.h"
#include "tournament_view.h"
#include "window_thread_interface.h"

#include "match/fault_summary.h"
#include "match/version.h"
#include "players/content_fingerprint.h"
#include "records/record_journal.h"
#include "summary/match_results.h"
#include "summary/result_folder.h"
#include "tournament/tournament_document.h"
#include "workers/adopted_children.h"
#include "workers/host_failure.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cassert>

namespace velkaran {

namespace {

constexpr char AboutAuthor[] = "Команда Velkaran";
constexpr char AboutEmail[] = "velkaran@example.org";

// A single game between bots that lasts longer than this shows the progress window.
constexpr int SingleGameProgressDelayMs = 700;
// How long the bots' folder must be quiet before its changes are taken.
constexpr int BotFolderQuietMs = 400;

QString AskRecordFileName(QWidget *Parent) {
    return QFileDialog::getOpenFileName(
        Parent, QStringLiteral("Открыть матч или записи игр"), QDir::currentPath(),
        QStringLiteral("Матчи, турниры и записи игр (*.json);;Все файлы (*)"));
}

}  // namespace

TVelkaranMainForm::TVelkaranMainForm(TGameResultForm &ResultForm, TBotDiscoveryFn Discovery, QWidget *Parent)
    : QWidget(Parent),
      AskRecordFile(AskRecordFileName),
      ResultForm(ResultForm),
      MatchThread(std::make_unique<TMatchThread>()),
      ProgressDelay(new QTimer(this)),
      Discovery(std::move(Discovery)) {
    MatchEnvironment.Ui = &VelkUi;
    const bool OwnBots = !this->Discovery;
    if (OwnBots) {
        UseWorkerPoolSettings({});
        this->Discovery = [this](TBotTable &Table) { DiscoverThroughWorkers(Table); };
        MatchEnvironment.BotSeat = [this](const TBot &Bot) { return MatchWorkers->Seat(Bot); };
    }
    CreateControls();
    ConnectHandlers();
    RestoreChoices();
    ProgressForm = new TMatchProgressForm(this);
    ProgressDelay->setSingleShot(true);
    connect(ProgressDelay, &QTimer::timeout, this, [this] { ShowProgress(); });
    if (OwnBots) {
        BotFolderWatcher = new QFileSystemWatcher(this);
        BotFolderDelay = new QTimer(this);
        BotFolderDelay->setSingleShot(true);
        BotFolderDelay->setInterval(BotFolderQuietMs);
        connect(BotFolderWatcher, &QFileSystemWatcher::directoryChanged, BotFolderDelay,
                qOverload<>(&QTimer::start));
        connect(BotFolderWatcher, &QFileSystemWatcher::fileChanged, BotFolderDelay,
                qOverload<>(&QTimer::start));
        connect(BotFolderDelay, &QTimer::timeout, this, [this] { BotFolderChange(BotFolderWatcher); });
    }
}

void TVelkaranMainForm::WatchBotFolder() {
    if (BotFolderWatcher == nullptr) return;
    const QStringList Old = BotFolderWatcher->files() + BotFolderWatcher->directories();
    if (!Old.isEmpty()) BotFolderWatcher->removePaths(Old);
    QStringList Paths{QDir::currentPath()};
    for (const TBot &Bot : Bots.Bots)
        Paths.append(QDir::current().absoluteFilePath(QString::fromStdString(Bot.Path)));
    BotFolderWatcher->addPaths(Paths);
}

void TVelkaranMainForm::BotFolderChange(QObject *) {
    if (Running || !isVisible()) return;  // the lists are rebuilt when the window comes back
    // The libraries the lists show now stay chosen, unless they are gone.
    const std::array<const TBot *, 2> Shown{SelectedBot(AvailBotsComboBox),
                                            SelectedBot(AvailSecondBotsComboBox)};
    const std::array<std::string, 2> Keep{Shown[0] ? LibraryFileName(Shown[0]->Path) : ChosenLibrary[0],
                                          Shown[1] ? LibraryFileName(Shown[1]->Path) : ChosenLibrary[1]};
    Discovery(Bots);
    MirrorBotTexts(AvailBotsComboBox, Keep[0]);
    MirrorBotTexts(AvailSecondBotsComboBox, Keep[1]);
    UpdateStartButton();
    WatchBotFolder();
}

TVelkaranMainForm::~TVelkaranMainForm() {
    if (Running) Running->RequestStop(TStopRequest::AtOnce);
    // The workers end from the thread that started them, after the match in play; then the thread ends.
    MatchThread->Run([this] { Workers.reset(); });
    MatchThread.reset();
}

void TVelkaranMainForm::UseWorkerPoolSettings(const TWorkerPoolSettings &Settings) {
    assert(!Running && "the workers change only between matches");
    MatchWorkerSettings = Settings;
    MatchWorkerSettings.Run.reset();
    MatchThread->Run([this] {
        TWorkerPoolSettings Listing = MatchWorkerSettings;
        Listing.FollowFileChanges = true;  // the list shows the files as they are now
        Workers.reset();
        Workers = std::make_unique<TBotWorkerPool>(Listing);
    });
}

void TVelkaranMainForm::DiscoverThroughWorkers(TBotTable &Table) {
    // The pool is the match thread's: no match uses it meanwhile, since none runs.
    assert(!Running && "bots are discovered only between matches");
    MatchThread->Run([this, &Table] {
        velkaran::LoadBots(Table, ".", [this](const std::string &Path) {
            try {
                return Workers->Probe(Path);
            } catch (const THostFailure &Failure) {  // no bot's fault: the list says what failed
                TBotLoad Load;
                Load.Bot.Path = Path;
                Load.Problem = TBotProblem::NotLoadable;
                Load.Reason = std::string("the program could not run it: ") + Failure.what();
                return Load;
            }
        });
        std::vector<std::string> Paths;
        for (const TBot &Bot : Table.Bots) Paths.push_back(Bot.Path);
        Workers->Retain(Paths);
    });
}

void TVelkaranMainForm::ConnectHandlers() {
    connect(HumanCheckBox1, &QCheckBox::clicked, this, [this] { HumanCheckBox1Click(HumanCheckBox1); });
    connect(HumanCheckBox2, &QCheckBox::clicked, this, [this] { HumanCheckBox2Click(HumanCheckBox2); });
    connect(AvailBotsComboBox, &QComboBox::activated, this, [this] {
        RememberChoice(0, AvailBotsComboBox);
        AvailBotsComboBoxChange(AvailBotsComboBox);
    });
    connect(AvailSecondBotsComboBox, &QComboBox::activated, this, [this] {
        RememberChoice(1, AvailSecondBotsComboBox);
        AvailSecondBotsComboBoxChange(AvailSecondBotsComboBox);
    });
    BotGameOptionsRadioGroup->OnClick = [this] { BotGameOptionsRadioGroupClick(BotGameOptionsRadioGroup); };
    connect(AboutButton, &QPushButton::clicked, this, [this] { AboutButtonClick(AboutButton); });
    connect(RulesButton, &QPushButton::clicked, this, [this] { RulesButtonClick(RulesButton); });
    connect(StartGameButton, &QPushButton::clicked, this, [this] { StartGameButtonClick(StartGameButton); });
    connect(OpenRecordButton, &QPushButton::clicked, this,
            [this] { OpenRecordButtonClick(OpenRecordButton); });
    connect(ResultsButton, &QPushButton::clicked, this, [this] { ResultsButtonClick(ResultsButton); });
    connect(TournamentButton, &QPushButton::clicked, this,
            [this] { TournamentButtonClick(TournamentButton); });
    // The recent documents are read when the menu opens: another window may have opened one.
    connect(RecentFilesButton->menu(), &QMenu::aboutToShow, this, [this] {
        QMenu *Menu = RecentFilesButton->menu();
        Menu->clear();
        for (const std::string &File : RecentFiles()) {
            const QString Path = QString::fromStdString(File);
            QAction *Entry = Menu->addAction(Menu->fontMetrics().elidedText(Path, Qt::ElideMiddle, 560));
            Entry->setToolTip(Path);
            connect(Entry, &QAction::triggered, this, [this, Path] { OpenRecentFile(Path); });
        }
        if (Menu->isEmpty()) Menu->addAction(QStringLiteral("Недавних файлов нет"))->setEnabled(false);
    });
}

void TVelkaranMainForm::FormActivate(QObject *) {
    SetProgramTitle(QString::fromUtf8(VersionLine));
    setWindowTitle(ProgramTitle());
    LoadBots();
    AvailBotsComboBoxChange(AvailBotsComboBox);
    AvailSecondBotsComboBoxChange(AvailSecondBotsComboBox);
}

void TVelkaranMainForm::HumanCheckBox1Click(QObject *) {
    ApplySettingsEnabling();
    UpdateStartButton();
}

void TVelkaranMainForm::HumanCheckBox2Click(QObject *) {
    ApplySettingsEnabling();
    UpdateStartButton();
}

void TVelkaranMainForm::AvailBotsComboBoxChange(QObject *) { UpdateStartButton(); }

void TVelkaranMainForm::AvailSecondBotsComboBoxChange(QObject *) { UpdateStartButton(); }

void TVelkaranMainForm::BotGameOptionsRadioGroupClick(QObject *) { ApplySettingsEnabling(); }

void TVelkaranMainForm::AboutButtonClick(QObject *) {
    ShowOwnMessage(TMessageKind::Information,
                   QStringLiteral("%1\nАвтор: %2\nE-mail: %3")
                       .arg(QString::fromUtf8(VersionLine), QString::fromUtf8(AboutAuthor),
                            QString::fromUtf8(AboutEmail)));
}

void TVelkaranMainForm::RulesButtonClick(QObject *) {
    if (HelpForm == nullptr) HelpForm = new THelpForm(this);
    HelpForm->show();
    HelpForm->raise();
    HelpForm->activateWindow();
}

void TVelkaranMainForm::StartGameButtonClick(QObject *) {
    if (Running) return;
    // The start button's own rule, so that a call from code cannot seat an unusable bot either.
    if (!CanStartMatch(HumanCheckBox1->isChecked(), SelectedBot(AvailBotsComboBox),
                       HumanCheckBox2->isChecked(), SelectedBot(AvailSecondBotsComboBox)))
        return;
    TMatchEnvironment Environment = MatchEnvironment;
    Environment.DecimalSeparator = LocaleDecimalSeparator();
    const TMatchSettings Settings = ReadMatchSettings();
    auto Run = std::make_shared<TMatchRun>(Settings, Environment);
    // The match's own workers: the libraries as they are now, and a stop that ends these alone.
    std::shared_ptr<TWorkerRun> BotRun;
    TWorkerPoolSettings BotWorkers = MatchWorkerSettings;
    if (Workers) {
        BotRun = std::make_shared<TWorkerRun>();
        Run->StopAlso(BotRun);
        BotWorkers.Run = BotRun;
        // The workers' own deadline stands for the game's limit; another limit brings its own.
        if (Settings.MoveLimitMs != DefaultMoveLimitMs)
            BotWorkers.CallTimeoutMs = CallDeadlineMs(Settings.MoveLimitMs);
    }
    // The game windows are reached on this thread, whichever thread plays.
    auto Ui = std::make_shared<TWindowThreadGameInterface>(*MatchEnvironment.Ui, *this, &Run->StopFlag());
    Ui->BeforeShowing = [this] {
        ProgressDelay->stop();
        ProgressForm->hide();
    };
    Run->SetUi(Ui.get());
    Run->KeepIn(StoredResultsFolder());
    Running = Run;
    hide();
    if (Run->IsSeries())
        ShowProgress();
    else if (Run->BotsOnly())
        ProgressDelay->start(SingleGameProgressDelayMs);
    MatchThread->Post([this, Run, Ui, BotRun, BotWorkers] {
        if (BotRun) MatchWorkers = std::make_unique<TBotWorkerPool>(BotWorkers);
        Run->Play();
        if (BotRun) {
            // The match's workers end now, and with them the children its bots left behind.
            MatchWorkers.reset();
            EndAdoptedChildren();
        }
        QMetaObject::invokeMethod(
            this, [this, Run] { FinishMatch(Run); }, Qt::QueuedConnection);
    });
}

void TVelkaranMainForm::ShowProgress() {
    if (!Running) return;
    ProgressForm->Watch(Running);
    ProgressForm->show();
    ProgressForm->raise();
    ProgressForm->activateWindow();
}

void TVelkaranMainForm::FinishMatch(const std::shared_ptr<TMatchRun> &Run) {
    ProgressDelay->stop();
    ProgressForm->Unwatch();
    ProgressForm->hide();
    Running.reset();
    if (Run->Failure()) {
        ShowMessage(this, TMessageKind::Error, QString::fromStdString(*Run->Failure()));
    } else {
        // A bot that crashed or hung lost its games; the user hears which, before the result.
        const std::vector<std::string> Report = Run->FaultReport();
        if (!Report.empty())
            ShowMessage(this, TMessageKind::Error, QString::fromStdString(JoinLines(Report)));
        ResultForm.SetResults(Run->Lines(), Run->Results());
        if (!Run->KeptDocument().empty())
            ResultForm.ShowStatus(
                QStringLiteral("Серия сохранена: %1").arg(QString::fromStdString(Run->KeptDocument())));
        else if (!Run->KeepFailure().empty())
            ResultForm.ShowStatus(
                QStringLiteral("Серия не сохранена: %1").arg(QString::fromStdString(Run->KeepFailure())));
        if (ResultsListForm != nullptr && ResultsListForm->isVisible()) ResultsListForm->Refresh();
        ResultForm.exec();
    }
    show();
}

void TVelkaranMainForm::OpenRecordButtonClick(QObject *) {
    const QString Path = AskRecordFile(this);
    if (!Path.isEmpty()) OpenDocument(Path);
}

void TVelkaranMainForm::ResultsButtonClick(QObject *) {
    if (ResultsListForm == nullptr) {
        ResultsListForm = new TResultsListForm(this);
        ResultsListForm->OnOpen = [this](const QString &Path) { return OpenDocument(Path); };
        ResultsListForm->AskFile = [this](QWidget *Parent) { return AskRecordFile(Parent); };
    }
    ResultsListForm->Refresh();
    ResultsListForm->show();
    ResultsListForm->raise();
    ResultsListForm->activateWindow();
}

void TVelkaranMainForm::TournamentButtonClick(QObject *) {
    if (TournamentForm == nullptr) {
        std::vector<TTournamentBot> Offered;
        for (const TBot &Bot : Bots.Bots)
            if (Bot.Available)
                Offered.push_back({LibraryFileName(Bot.Path), Bot.Name, FileFingerprint(Bot.Path)});
        TRunnerSettings Settings;
        Settings.Workers = MatchWorkerSettings;
        TournamentForm = new TTournamentForm(std::move(Offered), Settings, StoredResultsFolder(), this);
        TournamentForm->setAttribute(Qt::WA_DeleteOnClose);
        TournamentForm->OnKept = [this](const std::string &) {
            if (ResultsListForm != nullptr && ResultsListForm->isVisible()) ResultsListForm->Refresh();
        };
    }
    TournamentForm->show();
    TournamentForm->raise();
    TournamentForm->activateWindow();
}

bool TVelkaranMainForm::OpenDocument(const QString &Path) {
    const std::string File = Path.toStdString();
    nlohmann::json Head;
    std::string Error;
    // A match document opens on its results, a tournament's document in the tournament view;
    // anything else (a single record, records without the match's settings) in the replay viewer,
    // which says what is wrong with a file that holds no records.
    const bool Read = ReadDocumentHead(File, Head, Error, {"format", "config"}) && Head.is_object();
    if (Read && Head.contains("format") && Head["format"] == TournamentFormat) {
        if (!OpenTournamentDocument(this, Path, ShowMessage)) return false;
        AddRecentFile(File);
        return true;
    }
    if (!Read || !Head.contains("format") || Head["format"] != "velkaran-match" || !Head.contains("config") ||
        !Head["config"].is_object()) {
        if (!OpenRecordFile(Path)) return false;
        AddRecentFile(File);
        return true;
    }
    const std::shared_ptr<TMatchResults> Results = LoadMatchResults(File, LocaleDecimalSeparator(), Error);
    if (!Results) {
        ShowOwnMessage(TMessageKind::Error,
                       QStringLiteral("Матч «%1» не открыт: %2").arg(Path, QString::fromStdString(Error)));
        return false;
    }
    AddRecentFile(File);
    const std::vector<std::string> Lines =
        ReadResultLog(ResultLogPath(File)).value_or(std::vector<std::string>{});
    ResultForm.SetResults(Lines, Results);
    ResultForm.ShowStatus(QStringLiteral("Открыт: %1").arg(Path));
    ResultForm.exec();
    return true;
}

bool TVelkaranMainForm::OpenRecentFile(const QString &Path) {
    if (!QFileInfo(Path).isFile()) {
        ForgetRecentFile(Path.toStdString());
        ShowOwnMessage(TMessageKind::Information,
                       QStringLiteral("Файла «%1» больше нет: он убран из недавних.").arg(Path));
        return false;
    }
    return OpenDocument(Path);
}

bool TVelkaranMainForm::OpenRecordFile(const QString &Path) {
    std::string Error;
    nlohmann::json Rest;
    const std::shared_ptr<TRecordArchive> Archive =
        velkaran::OpenRecordFile(Path.toStdString(), Rest, {}, Error);
    if (Archive) {
        if (ReplayForm == nullptr) ReplayForm = new TReplayForm(this);
        ReplayForm->ShowGame(Archive, 0);
        ReplayForm->show();
        ReplayForm->raise();
        ReplayForm->activateWindow();
        return true;
    }
    ShowOwnMessage(
        TMessageKind::Error,
        QStringLiteral("Запись игры «%1» не открыта: %2").arg(Path, QString::fromStdString(Error)));
    return false;
}

void TVelkaranMainForm::LoadBots() {
    Discovery(Bots);
    assert(Bots.Bots.size() == Bots.Texts.size() && "bot table and list texts are index-aligned");
    MirrorBotTexts(AvailBotsComboBox, ChosenLibrary[0]);
    MirrorBotTexts(AvailSecondBotsComboBox, ChosenLibrary[1]);
    WatchBotFolder();
}

void TVelkaranMainForm::UpdateStartButton() {
    const bool CanStart = CanStartMatch(HumanCheckBox1->isChecked(), SelectedBot(AvailBotsComboBox),
                                        HumanCheckBox2->isChecked(), SelectedBot(AvailSecondBotsComboBox));
    StartGameButton->setEnabled(CanStart);
    const std::string Blocked = CanStart
                                    ? std::string()
                                    : StartBlockedReason(SeatChoice(HumanCheckBox1, AvailBotsComboBox),
                                                         SeatChoice(HumanCheckBox2, AvailSecondBotsComboBox));
    StartGameButton->setToolTip(QString::fromStdString(Blocked));
    const QString Status = QString::fromStdString(BotStatusLine(Bots, Blocked));
    BotStatusLabel->setToolTip(Status);
    BotStatusLabel->setText(
        BotStatusLabel->fontMetrics().elidedText(Status, Qt::ElideRight, BotStatusLabel->width()));
}

TSeatChoice TVelkaranMainForm::SeatChoice(const QCheckBox *Human, const QComboBox *List) const {
    TSeatChoice Choice{.Human = Human->isChecked(), .Selected = SelectedBot(List), .Problem = {}};
    const auto Index = static_cast<size_t>(List->currentIndex());
    if (Choice.Selected != nullptr && Index < Bots.Problems.size()) Choice.Problem = Bots.Problems[Index];
    return Choice;
}

void TVelkaranMainForm::RememberChoice(int Player, const QComboBox *List) {
    const TBot *Selected = SelectedBot(List);
    ChosenLibrary[static_cast<size_t>(Player)] =
        Selected != nullptr ? LibraryFileName(Selected->Path) : std::string();
}

void TVelkaranMainForm::RestoreChoices() {
    const TStoredChoices Stored = LoadStoredChoices();
    ChosenLibrary = {Stored.FirstLibrary, Stored.SecondLibrary};
    if (Stored.GameCount) GameCountSpinEdit->setValue(*Stored.GameCount);
    if (Stored.TurnLimit) TurnLimitSpinEdit->setValue(*Stored.TurnLimit);
    if (Stored.MoveLimitMs) MoveLimitSpinEdit->setValue(*Stored.MoveLimitMs);
    if (Stored.FirstHuman) HumanCheckBox1->setChecked(*Stored.FirstHuman);
    if (Stored.SecondHuman) HumanCheckBox2->setChecked(*Stored.SecondHuman);
    if (Stored.ModeItem && (*Stored.ModeItem == 0 || *Stored.ModeItem == 1))
        BotGameOptionsRadioGroup->SetItemIndex(*Stored.ModeItem);
    ApplySettingsEnabling();
}

void TVelkaranMainForm::StoreChoices() {
    // A bot the list shows is the player's choice, picked or not.
    for (const auto &[Player, List] :
         {std::pair{0, AvailBotsComboBox}, std::pair{1, AvailSecondBotsComboBox}})
        if (SelectedBot(List) != nullptr) RememberChoice(Player, List);
    SaveStoredChoices({.FirstLibrary = ChosenLibrary[0],
                       .SecondLibrary = ChosenLibrary[1],
                       .GameCount = GameCountSpinEdit->Value(),
                       .TurnLimit = TurnLimitSpinEdit->Value(),
                       .MoveLimitMs = MoveLimitSpinEdit->Value(),
                       .FirstHuman = HumanCheckBox1->isChecked(),
                       .SecondHuman = HumanCheckBox2->isChecked(),
                       .ModeItem = BotGameOptionsRadioGroup->ItemIndex()});
}

TMatchSettings TVelkaranMainForm::ReadMatchSettings() {
    auto Seat = [this](const QCheckBox *Human, const QComboBox *List) {
        const TBot *Selected = SelectedBot(List);
        return TSeatSetting{.Human = Human->isChecked(), .Bot = Selected ? *Selected : TBot{}};
    };
    return {.First = Seat(HumanCheckBox1, AvailBotsComboBox),
            .Second = Seat(HumanCheckBox2, AvailSecondBotsComboBox),
            .ModeItem = BotGameOptionsRadioGroup->ItemIndex(),
            .GameCount = GameCountSpinEdit->Value(),
            .TurnLimit = TurnLimitSpinEdit->Value(),
            .MoveLimitMs = MoveLimitSpinEdit->Value(),
            .Openings = {}};
}

void TVelkaranMainForm::showEvent(QShowEvent *Event) {
    QWidget::showEvent(Event);
    // Only the program's own showings activate: a window restored by the user keeps its selection.
    if (ActivateOnShow) {
        ActivateOnShow = false;
        FormActivate(this);
    }
}

void TVelkaranMainForm::hideEvent(QHideEvent *Event) {
    QWidget::hideEvent(Event);
    if (!Event->spontaneous()) {
        ActivateOnShow = true;
        StoreChoices();  // the program hides the window for a match, or as it closes
    }
}

void TVelkaranMainForm::closeEvent(QCloseEvent *Event) {
    StoreChoices();
    QWidget::closeEvent(Event);
    // Closing the main window ends the program, whatever other windows exist.
    QCoreApplication::quit();
}

void TVelkaranMainForm::ApplySettingsEnabling() {
    const TSettingsEnabling Enabling = SettingsEnabling(
        HumanCheckBox1->isChecked(), HumanCheckBox2->isChecked(), BotGameOptionsRadioGroup->ItemIndex());
    AvailBotsComboBox->setEnabled(Enabling.FirstBotList);
    AvailSecondBotsComboBox->setEnabled(Enabling.SecondBotList);
    BotGameOptionsRadioGroup->setEnabled(Enabling.ModeGroup);
    Label1->setEnabled(Enabling.GameCount);
    GameCountSpinEdit->setEnabled(Label1->isEnabled());
}

const TBot *TVelkaranMainForm::SelectedBot(const QComboBox *List) const {
    const int Index = List->currentIndex();
    if (Index < 0 || static_cast<size_t>(Index) >= Bots.Bots.size()) return nullptr;
    return &Bots.Bots[static_cast<size_t>(Index)];
}

void TVelkaranMainForm::MirrorBotTexts(QComboBox *List, const std::string &Library) const {
    List->clear();
    for (size_t Index = 0; Index < Bots.Texts.size(); ++Index) {
        List->addItem(QString::fromStdString(Bots.Texts[Index]));
        if (Index < Bots.Problems.size() && !Bots.Problems[Index].empty())
            List->setItemData(
                static_cast<int>(Index),
                QString::fromStdString(LibraryFileName(Bots.Bots[Index].Path) + ": " + Bots.Problems[Index]),
                Qt::ToolTipRole);
    }
    const int Chosen = EntryOfLibrary(Bots, Library);
    List->setCurrentIndex(Chosen >= 0 ? Chosen : (List->count() > 0 ? 0 : -1));
}

void TVelkaranMainForm::ShowOwnMessage(TMessageKind Kind, const QString &Text) {
    ShowMessage(this, Kind, Text);
    // The window becomes the program's active window again, just as after a match.
    if (isVisible()) FormActivate(this);
}

}  // namespace velkaran
