// A seat of a game: the two functions through which the game loop talks to its player, and what
// a call can report besides its answer.
#pragma once

#include <velkaran/bot.h>

#include <cstdint>
#include <functional>
#include <string>

namespace velkaran {

// What went wrong with one call to a player, as the host saw it.
enum class TCallFault : uint8_t {
    None,      // the player answered
    Crashed,   // the player's process died: a signal, exit(), an exception that escaped
    Hung,      // no answer within the deadline; the player's process was ended
    Protocol,  // the player's process answered something that is not an answer
};

// How a call ended. Detail says what happened for a fault ("killed by SIGSEGV", "exit status 7").
struct TCallOutcome {
    TCallFault Fault = TCallFault::None;
    std::string Detail;
    // True when the player was not called because it could not be reached any more in this game
    // (its process died in a call of the other seat); not a fault of its own.
    bool Skipped = false;
};

// A GetTurn answer: the card, or the fault that kept it from coming. The game loop times every
// call on its own clock; nothing a player reports about its time is asked for.
struct TTurnAnswer {
    int32_t Card = 0;
    TCallOutcome Outcome;

    TTurnAnswer() = default;
    // A plain answer: what a bot's export or a scripted player returns.
    TTurnAnswer(int32_t Card) : Card(Card) {}  // NOLINT(google-explicit-constructor): by design
};

// A player's StartGame: a bot's export, the game interface's, a test's lambda or a worker.
using TStartGameFn =
    std::function<TCallOutcome(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info)>;

// A player's GetTurn, of the same origins as TStartGameFn.
using TGetTurnFn = std::function<TTurnAnswer(int32_t PlayerIndex, const TGameView *View,
                                             const TCardList *Playable, const TTurnInfo *Info)>;

// Both functions of one seat.
struct TSeatCalls {
    TStartGameFn StartGame;
    TGetTurnFn GetTurn;
};

// A StartGame that cannot fault (an export loaded into this process, the game interface, a script).
template <typename TCall>
TStartGameFn Infallible(TCall Call) {
    return [Call = std::move(Call)](int32_t Index, TCardList *CardSet, const TTurnInfo *Info) {
        Call(Index, CardSet, Info);
        return TCallOutcome{};
    };
}

}  // namespace velkaran
