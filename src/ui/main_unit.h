// The main window: the two players, the mode, the limits, and the start of a match.
#pragma once

#include "game_result_unit.h"
#include "integer_spin_edit.h"
#include "program_message.h"
#include "radio_group.h"

#include "match/match_runner.h"
#include "players/bot_discovery.h"
#include "velkui/velkui_game_interface.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace velkaran {

// Fills the bot table: discovery in the current directory, or a fake in tests.
using TBotDiscoveryFn = std::function<void(TBotTable &Table)>;

// Discovery of the bots in the process's current directory.
void DiscoverBotsInCurrentDirectory(TBotTable &Table);

class TVelkaranMainForm : public QWidget {
public:
    // The window in its initial state; ResultForm shows the outcome of every match.
    explicit TVelkaranMainForm(TGameResultForm &ResultForm,
                               TBotDiscoveryFn Discovery = DiscoverBotsInCurrentDirectory,
                               QWidget *Parent = nullptr);

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

    // The loaded bots, index-aligned with both bot lists; rebuilt on every activation.
    TBotTable Bots;

    // How matches are played (the game interface is VelkUI's, the clock the steady clock) and
    // how messages are shown; tests replace them.
    TMatchEnvironment MatchEnvironment;
    TShowMessageFn ShowMessage = ShowProgramMessage;

    // Event handlers.
    void FormActivate(QObject *Sender);
    void HumanCheckBox1Click(QObject *Sender);
    void HumanCheckBox2Click(QObject *Sender);
    void AvailBotsComboBoxChange(QObject *Sender);
    void AvailSecondBotsComboBoxChange(QObject *Sender);
    void BotGameOptionsRadioGroupClick(QObject *Sender);
    void AboutButtonClick(QObject *Sender);
    // Plays the chosen match with the main window hidden and shows its text in the result window.
    // A failure that ends the match is shown in a message box; the main window comes back either way.
    void StartGameButtonClick(QObject *Sender);

    // Rebuilds the bot table and both lists, with the first entry of each selected.
    void LoadBots();
    // Enables the start button exactly when every bot seat has an available entry selected.
    void UpdateStartButton();

    // The settings that the controls show now, as the start button hands them to the runner.
    TMatchSettings ReadMatchSettings();

protected:
    void showEvent(QShowEvent *Event) override;
    void hideEvent(QHideEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void ApplySettingsEnabling();
    const TBot *SelectedBot(const QComboBox *List) const;
    void MirrorBotTexts(QComboBox *List) const;
    // Shows one of the program's messages; the window is active again afterwards.
    void ShowOwnMessage(TMessageKind Kind, const QString &Text);

    TGameResultForm &ResultForm;
    TBotDiscoveryFn Discovery;
    VelkUiGameInterface VelkUi;
    bool ActivateOnShow = true;  // the first showing, and every showing after a hide by the program
};

}  // namespace velkaran
