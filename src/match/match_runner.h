// The match runner: one game or a series between the two chosen players, scored and written as text.
#pragma once

#include "../players/bot_library.h"
#include "../players/game_interface.h"
#include "game_loop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkaran {

// The name a human seat plays under.
inline constexpr char HumanName[] = "_HUMAN_";

// One player of the main window: a human, or the chosen bot entry.
struct TSeatSetting {
    bool Human = false;
    TBot Bot;  // used when Human is false; its Available flag is not looked at
};

// Everything the start button reads from the main window.
struct TMatchSettings {
    TSeatSetting First;       // player 1: seat 1 in a single game and in the first half of a series
    TSeatSetting Second;      // player 2
    int ModeItem = 0;         // 0: one game with its result; 1: a series with statistics (bots only)
    int32_t GameCount = 100;  // N: a series plays N + N games; 0 or less plays none
    int32_t TurnLimit = 200;  // 30..50000
};

// Where a series stands after a game, for a progress display.
struct TSeriesProgress {
    int64_t GamesPlayed = 0;
    int64_t GamesTotal = 0;
    int64_t FirstWins = 0;   // wins of player 1 of the main window
    int64_t SecondWins = 0;  // wins of player 2
    int64_t Draws = 0;
};

// What the runner needs besides the settings.
struct TMatchEnvironment {
    GameInterface *Ui = nullptr;                                // the game interface; required
    std::string DecimalSeparator = ".";                         // the locale's, for the report
    TTimeSource Clock = GetTimeMs;                              // the clock of the game loop
    std::function<void(const TSeriesProgress &)> OnSeriesGame;  // optional, after each series game
};

// The options word for Settings: turn limit, HiddenInformation, BotsOnly, ShowFinalPosition.
int32_t BuildOptionsWord(const TMatchSettings &Settings);

// A player's score for one game: 20 minus its mean seconds per round, rounded half to even;
// 2 when Rounds is 0, and 0 instead of a negative score.
uint32_t ComputeScore(const TPlayer &Player, uint32_t Rounds);

// Plays the single game or the series that Settings describe and returns the result text, one
// string per line (UTF-8). Exceptions from a player pass through; no text is returned then.
// A bot seat without both entry points throws std::invalid_argument before any game.
std::vector<std::string> RunMatch(const TMatchSettings &Settings, const TMatchEnvironment &Environment);

}  // namespace velkaran
