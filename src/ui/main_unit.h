// The main window: the two players, the mode, the limits, and the start of a match.
#pragma once

#include "game_result_unit.h"
#include "help_form.h"
#include "integer_spin_edit.h"
#include "match_thread.h"
#include "program_message.h"
#include "radio_group.h"
#include "settings_rules.h"

#include "match/match_runner.h"
#include "players/bot_discovery.h"
#include "velkui/velkui_game_interface.h"
#include "workers/worker_pool.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

namespace velkaran {

class TMatchProgressForm;
class TMatchRun;
class TReplayForm;
class TResultsListForm;
class TTournamentForm;

// Fills the bot table: a fake in tests.
using TBotDiscoveryFn = std::function<void(TBotTable &Table)>;

class TVelkaranMainForm : public QWidget {
public:
    // The window in its initial state; ResultForm shows the outcome of every match. Matches are
    // played on a thread of the window's own, started here. Without a Discovery the bots of the
    // current directory are probed in worker processes, one per library, and each match plays
    // them in workers of its own, all started from that thread; a Discovery of a test fills the
    // table itself, and its bots are reached as MatchEnvironment.BotSeat says (in this process
    // unless changed).
    explicit TVelkaranMainForm(TGameResultForm &ResultForm, TBotDiscoveryFn Discovery = {},
                               QWidget *Parent = nullptr);
    // Stops a match in play at once (ending its workers), waits for it, and ends the workers.
    ~TVelkaranMainForm() override;

    // Controls, in their declaration order.
    QPushButton *StartGameButton;
    QComboBox *AvailBotsComboBox;
    QComboBox *AvailSecondBotsComboBox;
    QGroupBox *FirstPlayerGroupBox;
    QGroupBox *SecondPlayerGroupBox;
    QCheckBox *HumanCheckBox1;
    QCheckBox *HumanCheckBox2;
    QPushButton *AboutButton;
    TRadioGroup *BotGameOptionsRadioGroup;
    TIntegerSpinEdit *GameCountSpinEdit;
    QLabel *Label1;
    QGroupBox *AdditionalOptionsGroupBox;
    QLabel *Label2;
    TIntegerSpinEdit *TurnLimitSpinEdit;
    // Added to the original controls: the help button, a status line about the bot libraries and
    // the button that opens a saved game record in the replay viewer.
    QPushButton *RulesButton;
    QLabel *BotStatusLabel;         // elided to its width; the whole text is its tooltip
    QPushButton *OpenRecordButton;  // "Открыть…": a match document or a file of game records
    QPushButton *ResultsButton;     // "Результаты…": the kept series and the documents opened
    QPushButton *TournamentButton;  // "Турнир…": a tournament of the bots found, in its own dialog
    QToolButton *RecentFilesButton;  // "Недавние ▾", above the buttons: a menu of the documents opened lately
    // The longest a bot's move may take, in milliseconds (the game's 20000 unless changed).
    QLabel *MoveLimitLabel;
    TIntegerSpinEdit *MoveLimitSpinEdit;

    // The loaded bots, index-aligned with both bot lists; rebuilt on every activation.
    TBotTable Bots;
    // The help window, made at the first click on RulesButton.
    THelpForm *HelpForm = nullptr;
    // The progress window of a bot match: shown at once for a series, after a moment for one game.
    TMatchProgressForm *ProgressForm;
    // The replay viewer of a record file, made when the first one is opened.
    TReplayForm *ReplayForm = nullptr;
    // The list of results, made at the first click on ResultsButton.
    TResultsListForm *ResultsListForm = nullptr;
    // The tournament dialog while it is open.
    QPointer<TTournamentForm> TournamentForm;

    // How matches are played (the game interface is VelkUI's, the clock the steady clock) and
    // how messages are shown; tests replace them. The game interface is called on the window
    // thread; the seats, the clock and OnGameEnd on the match thread.
    TMatchEnvironment MatchEnvironment;
    TShowMessageFn ShowMessage = ShowProgramMessage;
    // Asks for a record file to open; an empty name when the user cancels. Tests replace it.
    std::function<QString(QWidget *Parent)> AskRecordFile;

    // Runs when the window becomes the program's active window: at every showing by the program
    // and after each of its own message boxes (not when the user comes back from elsewhere).
    // Sets the version line as title and caption, rebuilds both bot lists (each keeping the library
    // its player chose, found by file name) and the start button.
    void FormActivate(QObject *Sender);
    // A human check box was clicked: applies the enabling rules and updates the start button.
    void HumanCheckBox1Click(QObject *Sender);
    void HumanCheckBox2Click(QObject *Sender);
    // The user chose an entry of a bot list: updates the start button.
    void AvailBotsComboBoxChange(QObject *Sender);
    void AvailSecondBotsComboBoxChange(QObject *Sender);
    // Another mode was chosen: the game count is in use only for a series.
    void BotGameOptionsRadioGroupClick(QObject *Sender);
    // Shows the version line, the authors and the contact address.
    void AboutButtonClick(QObject *Sender);
    // Opens the help window (or brings it to the front).
    void RulesButtonClick(QObject *Sender);
    // Starts the chosen match on the match thread and returns; the main window is hidden until
    // the match is over. A bot match shows its progress, and may be stopped there. At the end, a
    // bot that faulted is named in a message box, the result window shows the text and the results
    // of the games played, and the main window comes back; a failure that ended the match is shown
    // in a message box instead of the results.
    void StartGameButtonClick(QObject *Sender);
    // Asks for a saved JSON document and opens it (see OpenDocument).
    void OpenRecordButtonClick(QObject *Sender);
    // Opens the results list (or brings it to the front), read afresh.
    void ResultsButtonClick(QObject *Sender);
    // Opens the tournament dialog over the bots found now (or brings it to the front).
    void TournamentButtonClick(QObject *Sender);
    // Opens the document at Path: a match document in the result window (its results, and the log
    // kept beside it in the text tab), any other file of records in the replay viewer; the file
    // becomes the first of the recent ones. False (and a message box that says why) when it holds
    // nothing that can be read.
    bool OpenDocument(const QString &Path);
    // Opens a document of the recent ones (see OpenDocument); one that is gone is taken off the
    // list, with a message that says so.
    bool OpenRecentFile(const QString &Path);
    // Opens the games of the record file at Path in the replay viewer; false (and a message box
    // that says why) when it holds none that can be read.
    bool OpenRecordFile(const QString &Path);

    // True from the start of a match until the main window is back.
    bool MatchRunning() const { return Running != nullptr; }
    // The match in play (null between matches), e.g. for its progress.
    const std::shared_ptr<TMatchRun> &RunningMatch() const { return Running; }
    // Plays the bots with Settings (deadlines, say) from now on: new workers for the bot list and
    // for every match. Only between matches, and only for the workers of the current directory
    // (no test Discovery).
    void UseWorkerPoolSettings(const TWorkerPoolSettings &Settings);

    // Rebuilds the bot table and both lists. Each list selects the library its player chose last (in
    // this run or, at first, in the previous one), else its first entry; an unavailable entry's
    // tooltip says why.
    void LoadBots();
    // The bots' folder or one of its libraries changed on disk: between matches, while the window
    // is shown, both lists are rebuilt at once, each keeping the library it shows (a changed
    // library is probed again); otherwise at the next activation.
    void BotFolderChange(QObject *Sender);
    // Enables the start button exactly when every bot seat has an available entry selected; when it
    // is disabled, its tooltip and the status line say why.
    void UpdateStartButton();

    // The settings that the controls show now, as the start button hands them to the runner.
    TMatchSettings ReadMatchSettings();

    // Shows one of the program's messages; the window is active again afterwards.
    void ShowOwnMessage(TMessageKind Kind, const QString &Text);

protected:
    void showEvent(QShowEvent *Event) override;
    void hideEvent(QHideEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void ApplySettingsEnabling();
    const TBot *SelectedBot(const QComboBox *List) const;
    void MirrorBotTexts(QComboBox *List, const std::string &Library) const;
    TSeatChoice SeatChoice(const QCheckBox *Human, const QComboBox *List) const;
    // Remembers the library now selected in List as player Player's choice.
    void RememberChoice(int Player, const QComboBox *List);
    // Applies the choices of the previous run; stores the present ones for the next.
    void RestoreChoices();
    void StoreChoices();

    // Probes every library of the current directory in its worker (on the match thread, which
    // starts the workers); workers of libraries that are gone are ended.
    void DiscoverThroughWorkers(TBotTable &Table);
    // On the window thread once the match thread has played Run: the messages, the result window,
    // and the main window again.
    void FinishMatch(const std::shared_ptr<TMatchRun> &Run);
    void ShowProgress();

    TGameResultForm &ResultForm;
    std::unique_ptr<TMatchThread> MatchThread;
    // Without a test's Discovery the bots run in workers, all used on the match thread: the bot
    // list's, probed again at every showing, and each match's own, made for it and ended after it
    // (so that stopping a match ends its workers and no others).
    std::unique_ptr<TBotWorkerPool> Workers;
    TWorkerPoolSettings MatchWorkerSettings;
    std::unique_ptr<TBotWorkerPool> MatchWorkers;
    std::shared_ptr<TMatchRun> Running;  // the match in play
    QTimer *ProgressDelay;               // shows the progress of a single game that takes a while
    // Without a test's Discovery: the current directory and its libraries, watched; a burst of
    // changes (a build writing a library) is taken as one after a short delay.
    QFileSystemWatcher *BotFolderWatcher = nullptr;
    QTimer *BotFolderDelay = nullptr;
    void WatchBotFolder();
    TBotDiscoveryFn Discovery;
    VelkUiGameInterface VelkUi;
    bool ActivateOnShow = true;  // the first showing, and every showing after a hide by the program
    std::array<std::string, 2> ChosenLibrary;  // the file name of each player's chosen bot
};

}  // namespace velkaran
