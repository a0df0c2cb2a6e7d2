// The match runner: one game or a series between the two chosen players, scored and written as text.
#pragma once

#include "game_loop.h"
#include "players/bot_library.h"
#include "players/game_interface.h"
#include "records/game_record.h"
#include "records/opening_book.h"
#include "rules/player_names.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkaran {

// The turn limits a match may be given, and the usual one.
inline constexpr int32_t MinTurnLimit = 30;
inline constexpr int32_t MaxTurnLimit = 50000;
inline constexpr int32_t DefaultTurnLimit = 200;

// The move time limits a match may be given, in milliseconds; the usual one is the game's.
inline constexpr int32_t MinMoveLimitMs = 1;
inline constexpr int32_t MaxMoveLimitMs = 3'600'000;
inline constexpr auto DefaultMoveLimitMs = static_cast<int32_t>(MoveTimeLimitMs);

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
    int32_t TurnLimit = DefaultTurnLimit;      // MinTurnLimit..MaxTurnLimit
    int32_t MoveLimitMs = DefaultMoveLimitMs;  // MinMoveLimitMs..MaxMoveLimitMs; only between bots
    // Where the games start: game pair P (game P of each half of a series) starts from
    // PairStart(Openings, P); a single game from the first position. Empty: the standard start.
    TOpeningBook Openings;
};

// Where a series stands after a game, for a progress display.
struct TSeriesProgress {
    int64_t GamesPlayed = 0;
    int64_t GamesTotal = 0;
    int64_t FirstWins = 0;   // wins of player 1 of the main window
    int64_t SecondWins = 0;  // wins of player 2
    int64_t Draws = 0;
};

// One game as the runner played it, for whoever watches the match.
struct TPlayedGame {
    int64_t Number = 0;                 // 1 for the first game of the match
    std::array<int, 2> PlayerOfSeat{};  // the player of the main window (0 or 1) in each seat
    const TGameRecord *Record = nullptr;
    const std::vector<double> *MoveTimesMs = nullptr;  // each of Record's moves' thinking time
};

// The seat functions for a bot: its exports in this process, or a proxy to its worker process.
using TBotSeatFactory = std::function<TSeatCalls(const TBot &Bot)>;

// The seat functions that call Bot's exports loaded into this process; throws
// std::invalid_argument when Bot lacks one.
TSeatCalls InProcessSeat(const TBot &Bot);

// A request to stop a match, made from another thread (a Stop button) through an atomic int.
enum class TStopRequest : int {
    None = 0,
    AfterThisGame = 1,  // the game in play counts; no further game starts
    AtOnce = 2,         // the game in play is abandoned (its workers ended by the requester) and not counted
};

// What the runner needs besides the settings.
struct TMatchEnvironment {
    GameInterface *Ui = nullptr;                                // the game interface; required
    std::string DecimalSeparator = ".";                         // the locale's, for the report
    TTimeSource Clock = GetTimeMs;                              // the clock of the game loop
    TBotSeatFactory BotSeat = InProcessSeat;                    // how a bot seat is reached
    std::function<void(const TSeriesProgress &)> OnSeriesGame;  // optional, after each series game
    std::function<void(const TPlayedGame &)> OnGameEnd;  // optional, after every game; may throw to stop
    const std::atomic<int> *Stop = nullptr;  // optional: a TStopRequest, looked at after every game
};

// The options word for Settings: turn limit, HiddenInformation, BotsOnly, ShowFinalPosition.
int32_t BuildOptionsWord(const TMatchSettings &Settings);

// A player's score for one game: 20 minus its mean seconds per round, rounded half to even;
// 2 when Rounds is 0, and 0 instead of a negative score.
uint32_t ComputeScore(const TPlayer &Player, uint32_t Rounds);
uint32_t ComputeScore(double TotalTimeMs, uint32_t Rounds);

// What a match came to: its result text, and whether it was stopped before its end.
struct TMatchOutcome {
    std::vector<std::string> Lines;  // the result text, one string per line (UTF-8)
    bool Stopped = false;            // a stop request ended it before its last game
    int64_t GamesCounted = 0;        // the games the text counts
    int64_t GamesPlanned = 0;        // 1 for a single game, 2N for a series of N + N
};

// Plays the single game or the series that Settings describe and returns its outcome. A series
// stopped on request counts the games played and says after how many of them it stopped; a single
// game stopped at once has only a line that says so. Exceptions from a player or a callback pass
// through; no text is returned then. A bot seat that the factory cannot make throws before any game.
TMatchOutcome RunMatch(const TMatchSettings &Settings, const TMatchEnvironment &Environment);

}  // namespace velkaran
