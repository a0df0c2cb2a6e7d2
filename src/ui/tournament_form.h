// The "Турнир" dialog: the bots to play (ticked among those found), round robin or one against
// all, the pairs, the games at once, the move and turn limits and the start positions; while the
// tournament runs, its standings and crosstable, and two kinds of stop; at its end, its results
// view, the tournament kept in the results folder like a series.
#pragma once

#include "tournament/tournament_config.h"
#include "tournament/tournament_runner.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace velkaran {

class TTournamentRun;
class TTournamentResultsForm;
struct TTournamentSummary;

class TTournamentForm : public QDialog {
public:
    // Offers Bots (each a library or a program of Settings.Folder); tournaments run as Settings
    // says and are kept in KeepFolder (not kept when it is empty).
    TTournamentForm(std::vector<TTournamentBot> Bots, TRunnerSettings Settings, std::string KeepFolder,
                    QWidget *Parent = nullptr);
    // Stops a tournament that still runs at once and waits for it.
    ~TTournamentForm() override;

    QListWidget *BotList;  // one checkable row per bot offered
    QRadioButton *RoundRobinButton;
    QRadioButton *GauntletButton;
    QComboBox *GauntletBotBox;  // the bot that plays every other one
    QSpinBox *PairsSpin;
    QSpinBox *ConcurrencySpin;
    QSpinBox *TurnLimitSpin;
    QSpinBox *MoveLimitSpin;
    QSpinBox *StartPositionsSpin;  // 0: the standard start
    QLabel *ProblemLabel;          // why the tournament cannot start
    QLabel *ProgressLabel;
    QTableWidget *StandingsTable;
    QTableWidget *CrosstableTable;
    QPushButton *StartButton;
    QPushButton *StopAfterGamesButton;  // the games in flight finish, no more start
    QPushButton *StopNowButton;         // the games in flight are abandoned, their workers ended
    QPushButton *CloseButton;

    // The tournament running or last run; null before the first.
    TTournamentRun *Running() const { return Run.get(); }
    // The results window of the last tournament that ended, while it is open; null otherwise.
    TTournamentResultsForm *Results() const { return ResultsForm; }
    // Runs when a tournament has ended and been kept (Document empty when it was not).
    std::function<void(const std::string &Document)> OnKept;

    void StartButtonClick(QObject *Sender);
    // Shows the standings, the crosstable and the progress as they stand; opens the results when
    // the tournament has ended. On a timer while one runs.
    void Refresh();

protected:
    void closeEvent(QCloseEvent *Event) override;

private:
    void UpdateControls();

    std::vector<TTournamentBot> Bots;
    TRunnerSettings Settings;
    std::string KeepFolder;
    std::unique_ptr<TTournamentRun> Run;
    QTimer *RefreshTimer;
    int64_t ShownGames = -1;  // the games the tables show, so that they are made anew only after a game
    bool Reported = false;    // the end of the last tournament was shown
    TTournamentResultsForm *ResultsForm = nullptr;
};

}  // namespace velkaran
