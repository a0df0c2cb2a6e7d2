// Scripted players, a hand-driven clock and helpers shared by the game-loop tests.
#pragma once

#include "match/game_loop.h"
#include "recording_game_interface.h"
#include "rules/catalogue.h"
#include "rules/turn_rules.h"

#include <gtest/gtest.h>
#include <velkaran/bot.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace velkaran::testing {

using TSet = std::array<int32_t, 15>;

// Cards 1..14 and the pass: valid, and card 50 is always playable.
inline constexpr TSet PlainSet{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 50};
// Base attacks that ignore the shield first: played in order, they win in round 7.
inline constexpr TSet RaidSet{24, 25, 23, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 50};
// Card 36 first; after it, nothing of this set is affordable in the next round.
inline constexpr TSet DrainSet{36, 13, 10, 12, 7, 22, 28, 29, 30, 31, 32, 46, 47, 48, 49};
// The shield repair first (shield 15 + 7 = 22 hides the player).
inline constexpr TSet ShieldSet{15, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 50};

// The options word of a series game, a single bot game and a human game, with a turn limit.
constexpr int32_t SeriesGame(int32_t Limit) { return BotsOnly | HiddenInformation | Limit; }
constexpr int32_t SingleBotGame(int32_t Limit) {
    return BotsOnly | ShowFinalPosition | HiddenInformation | Limit;
}
constexpr int32_t HumanGame(int32_t Limit) { return HiddenInformation | Limit; }

// A StartGame script that chooses Set.
inline RecordingGameInterface::TStartScript Choose(const TSet &Set) {
    return [Set](int32_t, TCardList *CardSet, const TTurnInfo *) {
        if (CardSet)
            for (int I = 0; I < CardSetSize; ++I) (*CardSet)[I] = Set[I];
    };
}

// A GetTurn script that always answers Card.
inline RecordingGameInterface::TTurnScript Always(int32_t Card) {
    return [Card](int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return Card; };
}

// A GetTurn script that plays the first playable card (0 when there is none).
inline RecordingGameInterface::TTurnScript FirstPlayable() {
    return [](int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
        return Playable ? (*Playable)[0] : 0;
    };
}

// The 56 bytes of a turn information record, for exact comparisons.
inline std::array<unsigned char, sizeof(TTurnInfo)> Bytes(const TTurnInfo &Info) {
    std::array<unsigned char, sizeof(TTurnInfo)> Result;
    std::memcpy(Result.data(), &Info, sizeof Info);
    return Result;
}

// The turn information a player should receive: every byte not named here is 0.
inline TTurnInfo ExpectedInfo(int32_t LastMove, int32_t Turn, int32_t Options, std::string_view Name,
                              int32_t Result) {
    TTurnInfo Info;
    std::memset(&Info, 0, sizeof Info);
    Info.LastMove = LastMove;
    Info.Turn = Turn;
    Info.Options = Options;
    std::memcpy(Info.OpponentName, Name.data(), Name.size());
    Info.Result = Result;
    return Info;
}

// A fresh game state, as the game starts it.
inline TGameState StartingState() {
    TGameState State;
    NewGameState(State);
    return State;
}

// The 15 entries of a card list as an array.
inline TSet Entries(const TCardList &List) {
    TSet Result;
    for (int I = 0; I < CardSetSize; ++I) Result[I] = List[I];
    return Result;
}

// Two recording players, a recording game interface, one journal of all their calls, and a
// clock that moves only when a script moves it. By default both players choose PlainSet and
// pass with card 50; the game is a series game of 30 rounds between "Alpha" and "Beta".
class GameFixture : public ::testing::Test {
protected:
    std::vector<std::string> Journal;
    RecordingGameInterface Ui{"ui", &Journal};
    RecordingGameInterface First{"first", &Journal};
    RecordingGameInterface Second{"second", &Journal};
    double Now = 0;
    int ClockReads = 0;
    TTimeSource Clock = [this] {
        ++ClockReads;
        return Now;
    };
    TGameOptions Options{SeriesGame(30), "Alpha", "Beta"};
    TGameResult Result;

    GameFixture() {
        First.OnStartGame = Choose(PlainSet);
        Second.OnStartGame = Choose(PlainSet);
        First.OnGetTurn = Always(50);
        Second.OnGetTurn = Always(50);
    }

    // Plays one game between First and Second.
    void Play() {
        PlayGame(First.StartGameSeat(), Second.StartGameSeat(), First.GetTurnSeat(), Second.GetTurnSeat(),
                 Options, Result, Ui, Clock);
    }

    // The closing StartGame call a player received (the last one).
    static TRecordedCall Closing(const RecordingGameInterface &Player) {
        const auto Calls = Player.CallsOf(TUiCallKind::StartGame);
        EXPECT_FALSE(Calls.empty());
        return Calls.empty() ? TRecordedCall{} : Calls.back();
    }

    // The Info of a player's GetTurn call in Round (1-based).
    static TTurnInfo TurnInfo(const RecordingGameInterface &Player, int Round) {
        return *Player.CallsOf(TUiCallKind::GetTurn).at(static_cast<std::size_t>(Round - 1)).Info;
    }
};

}  // namespace velkaran::testing
