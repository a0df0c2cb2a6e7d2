// The replay viewer: a recorded game step by step, both boards and both card sets in full.
#pragma once

#include "records/record_archive.h"

#include "records/record_replay.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QTimer;

namespace velkaran {

class PlayerPanel;
class TCardSetView;

// Shows one game of an archive of records at a time ("GameSpinBox" chooses another when the
// archive holds more than one): its start, then the board after each move. Stepping: the buttons
// (start, back, forward, end), the slider, the move list, the arrow keys, Home and End; a round
// is reached with "RoundSpinBox"; "PlayButton" (or the space bar) plays the moves at the speed of
// "SpeedComboBox". A record that does not replay through the rules shows why, and its end.
class TReplayForm : public QDialog {
public:
    explicit TReplayForm(QWidget *Parent = nullptr);

    QSpinBox *GameSpinBox;
    QLabel *TitleLabel;
    QLabel *HeadlineLabel;
    PlayerPanel *Panels[2];
    TCardSetView *CardSets[2];
    QLabel *LastMoveLabel;
    QLabel *OutcomeLabel;
    QListWidget *MoveList;
    QPushButton *FirstStepButton;
    QPushButton *StepBackButton;
    QPushButton *PlayButton;
    QPushButton *StepForwardButton;
    QPushButton *LastStepButton;
    QSlider *StepSlider;
    QSpinBox *RoundSpinBox;
    QPushButton *GoToRoundButton;
    QComboBox *SpeedComboBox;

    // Shows game Game (0 for the first) of Archive, at its start.
    void ShowGame(std::shared_ptr<const TRecordArchive> Archive, int64_t Game);
    // Shows step Step of the game (clamped to its steps) and stops playing at the end.
    void ShowStep(int64_t Step);
    int64_t CurrentStep() const { return Step; }
    int64_t StepCount() const { return static_cast<int64_t>(Steps.size()); }

    void PlayButtonClick(QObject *Sender);
    void GoToRoundButtonClick(QObject *Sender);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    void CreateControls();
    void SetPlaying(bool Playing);

    std::shared_ptr<const TRecordArchive> Archive;
    std::optional<TGameRecord> Record;
    std::vector<TReplayStep> Steps;
    int64_t Step = 0;
    QTimer *PlayTimer;
    bool Placed = false;
};

}  // namespace velkaran
