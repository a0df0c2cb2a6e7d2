// The progress window of a match between two bots, with the buttons that stop it.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace velkaran {

class TMatchRun;

// Shows how far the watched match has come (games of 2N, the score, the speed, the time gone
// and left; for a single game its players and time; a bot that thinks long), refreshed a few times a second.
// Stopping: after the game in play ("StopAfterGameButton", series only) or at once ("StopNowButton"), which
// ends the bots' workers. Closing the window asks for the gentlest stop there is.
class TMatchProgressForm : public QDialog {
public:
    explicit TMatchProgressForm(QWidget *Parent = nullptr);

    QLabel *PlayersLabel;
    QProgressBar *GamesBar;
    QLabel *GamesLabel;
    QLabel *ScoreLabel;
    QLabel *SpeedLabel;
    QLabel *TimeLabel;
    QLabel *ThinkingLabel;   // which bot is thinking, once a move takes long
    QLabel *StopStateLabel;  // what a stop request is waiting for
    QPushButton *StopAfterGameButton;
    QPushButton *StopNowButton;

    // Shows Run's progress from now on (and nothing of an earlier run).
    void Watch(std::shared_ptr<TMatchRun> Run);
    // Stops showing a run; the window may then be hidden.
    void Unwatch();
    // Reads the watched run's progress into the labels.
    void Refresh();

    void StopAfterGameButtonClick(QObject *Sender);
    void StopNowButtonClick(QObject *Sender);

protected:
    void closeEvent(QCloseEvent *Event) override;
    void reject() override;

private:
    void AskToStop();

    std::shared_ptr<TMatchRun> Run;
    QTimer *RefreshTimer;
};

}  // namespace velkaran
