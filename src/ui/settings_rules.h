// The enabling rules of the main window's settings, as plain functions of the chosen settings.
#pragma once

#include <string>

namespace velkaran {

struct TBot;

// Which settings controls may be used.
struct TSettingsEnabling {
    bool FirstBotList = false;   // player 1's bot list
    bool SecondBotList = false;  // player 2's bot list
    bool ModeGroup = false;      // one game or a series: only between two bots
    bool GameCount = false;      // the number of games and its label: only for a series
};

// The mode item that asks for a series with statistics.
inline constexpr int SeriesModeItem = 1;

// The enabled controls for the two human check boxes and the selected mode item.
TSettingsEnabling SettingsEnabling(bool FirstHuman, bool SecondHuman, int ModeItem);

// Whether a match may start: every bot seat needs a selected entry (non-null) that is Available.
bool CanStartMatch(bool FirstHuman, const TBot *FirstSelected, bool SecondHuman, const TBot *SecondSelected);

// One player as the start button sees it.
struct TSeatChoice {
    bool Human = false;
    const TBot *Selected = nullptr;  // the selected entry of the player's list; null when it is empty
    std::string Problem;             // why that entry is unavailable, as discovery found it
};

// Why a match cannot start, one line for each player that holds it back, e.g.
// "Игрок №2: бот «broken.so» недоступен: <reason>."; empty exactly when CanStartMatch allows it.
std::string StartBlockedReason(const TSeatChoice &First, const TSeatChoice &Second);

}  // namespace velkaran
