// The example C bot, loaded as a plug-in: its three exports and a game with it in both seats.
#include "match/game_loop.h"
#include "players/quiet_game_interface.h"
#include "rules/player_names.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <velkaran/bot.h>

#include <memory>

namespace velkaran {
namespace {

struct TLibraryCloser {
    void operator()(void *Handle) const { dlclose(Handle); }
};
using TLibrary = std::unique_ptr<void, TLibraryCloser>;

class ExampleBot : public ::testing::Test {
protected:
    void SetUp() override {
        Library.reset(dlopen(VELKARAN_EXAMPLE_BOT, RTLD_NOW | RTLD_LOCAL));
        ASSERT_TRUE(Library) << dlerror();
        Name = reinterpret_cast<decltype(&::GetName)>(dlsym(Library.get(), "GetName"));
        Start = reinterpret_cast<TStartGameProc>(dlsym(Library.get(), "StartGame"));
        Turn = reinterpret_cast<TGetTurnProc>(dlsym(Library.get(), "GetTurn"));
        ASSERT_NE(Name, nullptr);
        ASSERT_NE(Start, nullptr);
        ASSERT_NE(Turn, nullptr);
    }

    TLibrary Library;
    decltype(&::GetName) Name = nullptr;
    TStartGameProc Start = nullptr;
    TGetTurnProc Turn = nullptr;
};

TEST_F(ExampleBot, ExportsAValidNameAndNothingElse) {
    EXPECT_STREQ(Name(), "Example C99 bot");
    EXPECT_TRUE(IsValidName(Name()));
    // Built with hidden visibility: only the three entry points are exported.
    EXPECT_EQ(dlsym(Library.get(), "IsRepair"), nullptr);
}

TEST_F(ExampleBot, PlaysAWholeGameInBothSeatsThroughItsExports) {
    const TGameOptions Options{BotsOnly | HiddenInformation | 200, Name(), Name()};
    TGameResult Result;
    QuietGameInterface Ui;
    PlayGame(Infallible(Start), Infallible(Start), TGetTurnFn(Turn), TGetTurnFn(Turn), Options, Result, Ui);

    // The bot's answers are all legal, so the game ends on a base or the turn limit.
    EXPECT_TRUE(Result.Result == FirstPlayerLost || Result.Result == SecondPlayerLost ||
                Result.Result == TurnLimitReached)
        << Result.Result;
    EXPECT_GT(Result.FinalInfo.Turn, 1);
    int32_t CardsPlayed = 0;
    for (const TPlayer &Player : Result.FinalState)
        for (int32_t Card = 1; Card <= CardCount; ++Card) CardsPlayed += Player.Statistics.CardUses[Card];
    EXPECT_GT(CardsPlayed, Result.FinalInfo.Turn);
    EXPECT_GT(Result.FinalState[0].Statistics.TotalTime, 0.0);
}

}  // namespace
}  // namespace velkaran
