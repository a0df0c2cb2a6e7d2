// What the replay viewer shows of a recorded game at each of its steps: both boards with nothing
// hidden, both card sets, the move list, the last move and, at the end, how the game ended.
#pragma once

#include "records/game_record.h"
#include "records/record_replay.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// One card of a set at a step.
struct TReplayCard {
    int32_t Card = 0;
    std::string Title;        // "(12) Атака2 3"
    std::string Cost;         // "En 12 · Me 5 · El 2"
    bool Payable = false;     // its player could pay for it at this step
    bool JustPlayed = false;  // the card of the step's move
};

// One player at a step.
struct TReplaySide {
    std::string Name;  // as the record names the seat; "Человек" for a human
    std::string Note;  // "ходит первым" / "ходит вторым"
    TPlayerStatus Status{};
    TPlayerStatus Before{};          // its status at the step before (the same at the start)
    std::vector<TReplayCard> Cards;  // its set in set order; empty when it had none
};

// The whole screen at one step.
struct TReplayFrame {
    std::string
        Headline;  // "Начало игры" (a game from a start position says so) or "Раунд 3 из 25 · ход 5 из 50"
    std::string LastMove;              // what the step's move was, in words
    std::array<TReplaySide, 2> Sides;  // seat 0 (moved first) on the left
    std::string Outcome;               // how the game ended; only at the last step
};

// The steps the replay viewer walks: those of ReplaySteps and, for a game a bot's crash or hang
// ended, one more marked Fault, for its seat, that changes nothing. Nothing, with the reason in
// Error, when the record cannot be replayed.
std::optional<std::vector<TReplayStep>> ViewerSteps(const TGameRecord &Record, std::string &Error);

// "Игра 12: Greedy — Passive" (the first player first).
std::string ReplayTitle(const TGameRecord &Record);

// The screen at Steps[Step] of Record (Steps from ViewerSteps; Step below its size).
TReplayFrame ReplayFrame(const TGameRecord &Record, const std::vector<TReplayStep> &Steps, std::size_t Step);

// The move list: one line per step, the start first ("Начало: наборы карт выбраны"), then
// "3. Greedy: (7) Атака 7" (the round, the mover, the card's title) for each move; a pass, a
// refused card and a fault say so.
std::vector<std::string> MoveListText(const TGameRecord &Record, const std::vector<TReplayStep> &Steps);

// The loser's name and its LossDetail in Russian ("Beta: раунд 3, GetTurn: ..."); empty when
// there is none.
std::string GameEndReason(const TGameRecord &Record);

// How Record ended: who won and why, with the LossDetail when there is one.
std::string ReplayOutcomeText(const TGameRecord &Record);

// The step of the first move of round Round; the last step for a round beyond the game, the
// start for one before it.
std::size_t StepOfRound(const std::vector<TReplayStep> &Steps, int32_t Round);

}  // namespace velkaran
