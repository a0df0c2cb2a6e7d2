// velkaran-screenshots <folder>: renders to PNG files in <folder> the main window (initial state;
// two bots and a series), the help window (its beginning and its end), the progress window of a
// 3000 + 3000 series, the result window once that series was stopped (its results, its text, after
// a save), the replay viewer of one of its games, and the results of a short series played to its
// end. Run it in the folder of the sample bots; without two usable bots there it plays between two
// built-in players. The settings it changes are kept in a temporary folder, never the user's.
#include "game_result_unit.h"
#include "main_unit.h"
#include "match_run.h"
#include "progress_form.h"
#include "qt_translation.h"
#include "replay_form.h"
#include "results_list_form.h"
#include "series_charts_view.h"
#include "tournament_form.h"
#include "tournament_run.h"
#include "tournament_view.h"

#include "players/quiet_game_interface.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>

using namespace velkaran;

namespace {

// Built-in players for a folder without bots: a fixed set, and the first card they can pay for.
void BuiltInStartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *) {
    if (CardSet == nullptr) return;
    const int32_t FirstCard = PlayerIndex == 0 ? 1 : 36;
    for (int32_t Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = FirstCard + Entry;
}
int32_t BuiltInGetTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}

void AddBuiltInPlayers(TBotTable &Table) {
    for (const char *Name : {"Built-in A", "Built-in B"}) {
        Table.Bots.push_back({.Available = true,
                              .Name = Name,
                              .StartGameProc = BuiltInStartGame,
                              .GetTurnProc = BuiltInGetTurn,
                              .Path = {}});
        Table.Texts.emplace_back(Name);
    }
}

int AvailableEntries(const TBotTable &Table) {
    int Count = 0;
    for (const TBot &Bot : Table.Bots) Count += Bot.Available ? 1 : 0;
    return Count;
}

// The sample bots of the current directory (loaded into this process: the windows are what is
// pictured), or the built-in players when fewer than two are usable.
void ScreenshotDiscovery(TBotTable &Table) {
    LoadBots(Table, ".");
    if (AvailableEntries(Table) < 2) AddBuiltInPlayers(Table);
}

// The window as the user sees it: a plain title bar with its caption above its contents.
QImage WindowPicture(QWidget &Window) {
    const QPixmap Contents = Window.grab();
    constexpr int TitleHeight = 24;
    QImage Picture(Contents.width(), Contents.height() + TitleHeight, QImage::Format_RGB32);
    Picture.fill(QColor(0x3b, 0x5b, 0x8c));
    QPainter Painter(&Picture);
    QFont TitleFont = Window.font();
    TitleFont.setBold(true);
    TitleFont.setPixelSize(12);
    Painter.setFont(TitleFont);
    Painter.setPen(Qt::white);
    Painter.drawText(QRect(8, 0, Contents.width() - 16, TitleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     Window.windowTitle());
    Painter.drawPixmap(0, TitleHeight, Contents);
    return Picture;
}

bool Save(QWidget &Window, const QDir &Folder, const QString &Name) {
    QCoreApplication::processEvents();
    const QString Path = Folder.filePath(Name);
    if (WindowPicture(Window).save(Path)) return true;
    std::fprintf(stderr, "velkaran-screenshots: cannot write %s\n", qPrintable(Path));
    return false;
}

// Chooses the first and the last available entry (or the same one twice) for the two players.
void ChooseTwoBots(TVelkaranMainForm &Form) {
    std::vector<int> Usable;
    for (size_t Index = 0; Index < Form.Bots.Bots.size(); ++Index)
        if (Form.Bots.Bots[Index].Available) Usable.push_back(static_cast<int>(Index));
    if (Usable.empty()) return;
    Form.AvailBotsComboBox->setCurrentIndex(Usable.front());
    Form.AvailSecondBotsComboBox->setCurrentIndex(Usable.back());
    Form.AvailBotsComboBoxChange(Form.AvailBotsComboBox);
    Form.AvailSecondBotsComboBoxChange(Form.AvailSecondBotsComboBox);
}

// Runs the event loop until Done() holds or TimeoutMs have passed; returns Done().
bool WaitUntil(const std::function<bool()> &Done, int TimeoutMs) {
    QElapsedTimer Clock;
    Clock.start();
    while (!Done() && Clock.elapsed() < TimeoutMs) {
        QEventLoop Loop;
        QTimer::singleShot(20, &Loop, &QEventLoop::quit);
        Loop.exec();
    }
    return Done();
}

}  // namespace

int main(int argc, char **argv) {
    QApplication Application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkaran-screenshots <output folder>\n");
        return 2;
    }
    const QDir Folder(QString::fromLocal8Bit(argv[1]));
    if (!Folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "velkaran-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    InstallQtTranslations();
    const QTemporaryDir Settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
    qputenv("XDG_DATA_HOME", Settings.path().toLocal8Bit());  // the series played here are kept there

    QuietGameInterface Quiet;
    TGameResultForm ResultForm;
    TVelkaranMainForm MainForm(ResultForm, ScreenshotDiscovery);
    MainForm.MatchEnvironment.Ui = &Quiet;
    MainForm.show();
    bool Saved = Save(MainForm, Folder, QStringLiteral("main_window.png"));

    MainForm.HumanCheckBox1->click();
    ChooseTwoBots(MainForm);
    MainForm.BotGameOptionsRadioGroup->Item(1)->click();
    MainForm.GameCountSpinEdit->setValue(10);
    Saved = Save(MainForm, Folder, QStringLiteral("main_window_series.png")) && Saved;

    MainForm.RulesButton->click();
    Saved = Save(*MainForm.HelpForm, Folder, QStringLiteral("help_window.png")) && Saved;
    QScrollBar *HelpScroll = MainForm.HelpForm->HelpText->verticalScrollBar();
    HelpScroll->setValue(HelpScroll->maximum());
    Saved = Save(*MainForm.HelpForm, Folder, QStringLiteral("help_window_end.png")) && Saved;
    MainForm.HelpForm->close();

    // The series as it runs, until a few dozen games are played.
    MainForm.GameCountSpinEdit->setValue(3000);
    MainForm.StartGameButton->click();
    const auto GamesPlayed = [&MainForm] {
        return MainForm.RunningMatch() ? MainForm.RunningMatch()->Progress().GamesPlayed : 0;
    };
    WaitUntil([&] { return MainForm.ProgressForm->isVisible() && GamesPlayed() >= 40; }, 60000);
    MainForm.ProgressForm->Refresh();
    Saved = Save(*MainForm.ProgressForm, Folder, QStringLiteral("progress_window.png")) && Saved;

    // Stopped, the result window as the match shows it: grabbed while it is up, then closed with OK.
    QTimer ResultShown;
    QObject::connect(&ResultShown, &QTimer::timeout, &ResultForm, [&] {
        if (!ResultForm.isVisible()) return;
        ResultShown.stop();
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window.png")) && Saved;
        ResultForm.Views->setCurrentWidget(ResultForm.ChartsView);
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_charts.png")) && Saved;
        ResultForm.Views->setCurrentWidget(ResultForm.ResultMemo);
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_text.png")) && Saved;
        const QString Log = Settings.filePath(QStringLiteral("velkaran-log.txt"));
        ResultForm.LogSaveDialog = [&Log](QWidget *, const TLogFileChoice &) {
            return TLogFileChoice{Log, {}};
        };
        ResultForm.SaveButton->click();
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_saved.png")) && Saved;

        ResultForm.OpenReplay(1);
        TReplayForm &Replay = *ResultForm.ReplayForm;
        Replay.ShowStep(Replay.StepCount() / 2);
        Saved = Save(Replay, Folder, QStringLiteral("replay_window.png")) && Saved;
        Replay.LastStepButton->click();
        Saved = Save(Replay, Folder, QStringLiteral("replay_window_end.png")) && Saved;
        ResultForm.OKButton->click();
    });
    ResultShown.start(50);
    MainForm.ProgressForm->StopAfterGameButton->click();
    if (!WaitUntil([&] { return !MainForm.MatchRunning() && MainForm.isVisible(); }, 120000)) {
        std::fprintf(stderr, "velkaran-screenshots: the series did not stop\n");
        return 1;
    }

    // A short series played to its end: pairs of games, so the Elo line has something to say.
    QTimer CompleteShown;
    QObject::connect(&CompleteShown, &QTimer::timeout, &ResultForm, [&] {
        if (!ResultForm.isVisible()) return;
        CompleteShown.stop();
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_complete.png")) && Saved;
        ResultForm.Views->setCurrentWidget(ResultForm.ChartsView);
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_complete_charts.png")) && Saved;
        ResultForm.OKButton->click();
    });
    CompleteShown.start(50);
    ChooseTwoBots(MainForm);  // the lists went back to their first entries with the new discovery
    MainForm.GameCountSpinEdit->setValue(20);
    MainForm.StartGameButton->click();
    if (!WaitUntil([&] { return !MainForm.MatchRunning() && MainForm.isVisible(); }, 120000)) {
        std::fprintf(stderr, "velkaran-screenshots: the short series did not end\n");
        return 1;
    }

    // Both series kept: the list of results.
    MainForm.ResultsButton->click();
    Saved = Save(*MainForm.ResultsListForm, Folder, QStringLiteral("results_window.png")) && Saved;
    MainForm.ResultsListForm->close();

    // A small tournament of the sample bots, as velkaran-tournament writes it, in the tournament view.
    const QString Tournament = Settings.filePath(QStringLiteral("tournament.json"));
    if (QProcess::execute(QCoreApplication::applicationDirPath() + QStringLiteral("/velkaran-tournament"),
                          {"--pairs", "5", "--concurrency", "2", "--json", Tournament}) != 0) {
        std::fprintf(stderr, "velkaran-screenshots: velkaran-tournament failed\n");
        return 1;
    }
    TTournamentResultsForm *TournamentForm = OpenTournamentDocument(&MainForm, Tournament);
    if (TournamentForm == nullptr) return 1;
    for (const auto &[Tab, Name] :
         {std::pair{0, "tournament_window.png"}, std::pair{1, "tournament_window_crosstable.png"},
          std::pair{5, "tournament_window_games.png"}}) {
        TournamentForm->View->Tabs->setCurrentIndex(Tab);
        Saved = Save(*TournamentForm, Folder, QString::fromLatin1(Name)) && Saved;
    }
    TournamentForm->close();

    // The tournament dialog while its tournament runs, with the sample bots in their workers.
    std::vector<TTournamentBot> Sample;
    for (const char *File : {"greedy.so", "passive.so", "planner.so"})
        if (QFileInfo::exists(QString::fromLatin1(File))) Sample.push_back({File, File, ""});
    TRunnerSettings Runner;
    Runner.Workers.Worker.Program =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/velkaran-bot-worker")).toStdString();
    TTournamentForm Dialog(Sample, Runner, {}, &MainForm);
    Dialog.PairsSpin->setValue(500);
    Dialog.show();
    Dialog.StartButton->click();
    if (Dialog.Running() != nullptr) {
        WaitUntil([&Dialog] { return Dialog.Running()->GamesDone() >= 30; }, 60000);
        Dialog.Refresh();
        Saved = Save(Dialog, Folder, QStringLiteral("tournament_dialog.png")) && Saved;
        Dialog.StopNowButton->click();
        WaitUntil([&Dialog] { return Dialog.Running()->Finished(); }, 20000);
        Dialog.Refresh();
        if (Dialog.Results() != nullptr) Dialog.Results()->close();
    }
    return Saved ? 0 : 1;
}
