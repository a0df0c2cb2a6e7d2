// The replay viewer's frames, checked against records of real games: the last step shows the
// recorded final state, each step marks the card just played, rounds are found, and every way a
// game ends is told.
#include "summary/replay_text.h"

#include "records/random_games.h"

#include <gtest/gtest.h>

#include <set>

namespace velkaran {
namespace {

TEST(ReplayText, EveryStepOfRecordedGamesUpToTheRecordedEnd) {
    std::set<TTermination> Seen;
    for (uint32_t Seed = 0; Seed < 60; ++Seed) {
        SCOPED_TRACE(Seed);
        const TGameRecord Record = testing::RandomGameRecord(Seed, Seed % 3 == 0 ? 30 : 200);
        Seen.insert(Record.Termination);
        std::string Error;
        const auto Steps = ViewerSteps(Record, Error);
        ASSERT_TRUE(Steps) << Error;
        const std::vector<std::string> Moves = MoveListText(Record, *Steps);
        ASSERT_EQ(Moves.size(), Steps->size());

        for (std::size_t Step = 0; Step < Steps->size(); ++Step) {
            const TReplayFrame Frame = ReplayFrame(Record, *Steps, Step);
            const TReplayStep &At = (*Steps)[Step];
            // The card just played is marked in its player's set (a card from outside it, refused, nowhere).
            int Marked = 0;
            bool InSet = false;
            for (int32_t Seat = 0; Seat < 2; ++Seat) {
                for (const TReplayCard &Card : Frame.Sides[static_cast<std::size_t>(Seat)].Cards) {
                    Marked += Card.JustPlayed;
                    InSet = InSet || (Step > 0 && Seat == At.Mover && Card.Card == At.Card);
                    if (Card.JustPlayed) {
                        EXPECT_TRUE(Seat == At.Mover && Card.Card == At.Card);
                    }
                }
            }
            EXPECT_EQ(Marked, InSet ? 1 : 0);
            EXPECT_EQ(Frame.Outcome.empty(), Step + 1 < Steps->size());
        }
        const TReplayFrame End = ReplayFrame(Record, *Steps, Steps->size() - 1);
        for (std::size_t Seat = 0; Seat < 2; ++Seat) {
            EXPECT_TRUE(End.Sides[Seat].Status == Record.Final[Seat]);
            EXPECT_EQ(End.Sides[Seat].Cards.size(), 15u);
        }
        EXPECT_EQ(End.Outcome, ReplayOutcomeText(Record));
        if (Record.Termination == TTermination::RefusedCard) {
            EXPECT_NE(Moves.back().find("отклонено правилами"), std::string::npos) << Moves.back();
        }

        // A crash is a step of its own, the last, that says why; nothing changes on it.
        if (Record.Termination == TTermination::Crashed) {
            EXPECT_TRUE(Steps->back().Fault);
            EXPECT_NE(Moves.back().find("сбой бота"), std::string::npos) << Moves.back();
            EXPECT_NE(End.LastMove.find(GameEndReason(Record)), std::string::npos) << End.LastMove;
            EXPECT_TRUE(End.Sides[0].Before == End.Sides[0].Status);
        }

        // "Round 3" is its first move, after both moves of rounds 1 and 2 and the production.
        if (Record.Rounds >= 3) {
            const std::size_t Third = StepOfRound(*Steps, 3);
            EXPECT_EQ((*Steps)[Third].Round, 3);
            EXPECT_TRUE((*Steps)[Third - 1].Produced);
            EXPECT_EQ(Moves[Third].rfind("3. ", 0), 0u) << Moves[Third];
            EXPECT_EQ(ReplayFrame(Record, *Steps, Third).Headline.rfind("Раунд 3 из", 0), 0u);
        }
        EXPECT_EQ(StepOfRound(*Steps, 0), 0u);
        EXPECT_EQ(StepOfRound(*Steps, 1000000), Steps->size() - 1);
    }
    EXPECT_EQ(Seen, (std::set<TTermination>{TTermination::BaseDestroyed, TTermination::TurnLimit,
                                            TTermination::RefusedCard, TTermination::Crashed}));
}

TEST(ReplayText, TheOutcomeNamesTheWinnerAndWhy) {
    TGameRecord Record;
    Record.Place.Number = 12;
    Record.Seats[0].Name = "Alpha";
    Record.Seats[1].Name = "Beta";
    Record.Options = BotsOnly | 200;
    Record.Rounds = 23;
    Record.Result = SecondPlayerLost | ErrorOrPass;
    Record.Termination = TTermination::Crashed;
    Record.Faults.push_back({1, TSeatCall::GetTurn, 23, TCallFault::Crashed, "killed by SIGSEGV"});
    EXPECT_EQ(ReplayTitle(Record), "Игра 12: Alpha — Beta");
    EXPECT_EQ(ReplayOutcomeText(Record),
              "Победил «Alpha»: «Beta»: сбой бота — раунд 23, GetTurn: завершён сигналом SIGSEGV (нарушение "
              "доступа к памяти). Игра длилась 23 раунда.");
    EXPECT_EQ(GameEndReason(Record),
              "Beta: раунд 23, GetTurn: завершён сигналом SIGSEGV (нарушение доступа к памяти)");
    Record.Result = TurnLimitReached;
    Record.Termination = TTermination::TurnLimit;
    EXPECT_EQ(ReplayOutcomeText(Record), "Ничья: достигнут предел в 200 раундов. Игра длилась 23 раунда.");
    Record.Result = FirstPlayerLost | TimeLimitExceeded;
    Record.Termination = TTermination::Hung;
    Record.Rounds = 0;
    EXPECT_EQ(ReplayOutcomeText(Record).rfind("Победил «Beta»: «Alpha»: бот завис", 0), 0u);
}

}  // namespace
}  // namespace velkaran
