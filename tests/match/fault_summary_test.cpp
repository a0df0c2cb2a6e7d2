// The faults of a match, counted per player whichever seat it sat in, and where they first struck.
#include "match/fault_summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

using ::testing::ElementsAre;

TEST(FaultSummary, CountsPerPlayerAcrossSeatsAndNamesTheFirstOccurrence) {
    TFaultSummary Summary;
    TGameRecord Quiet;
    Quiet.Result = TurnLimitReached;
    Quiet.Termination = TTermination::TurnLimit;
    Summary.Add({1, {0, 1}, &Quiet});

    // Game 2, seats exchanged: player 1 (in seat 0) hangs in round 4; player 0 crashes closing.
    TGameRecord Hung;
    Hung.Result = FirstPlayerLost | TimeLimitExceeded;
    Hung.Termination = TTermination::Hung;
    Hung.Faults = {{0, TSeatCall::GetTurn, 4, TCallFault::Hung, "no answer within 22000 ms"},
                   {1, TSeatCall::ClosingStartGame, 4, TCallFault::Crashed, "killed by SIGSEGV"}};
    Summary.Add({2, {1, 0}, &Hung});

    // Game 3: player 1 (in seat 1) too slow in round 7.
    TGameRecord Slow;
    Slow.Result = SecondPlayerLost | TimeLimitExceeded;
    Slow.Termination = TTermination::TooSlow;
    Slow.Rounds = 7;
    Slow.Seats[1].LongestMoveMs = 20400.4;
    Summary.Add({3, {0, 1}, &Slow});

    // Game 4: player 0 (in seat 1, seats exchanged) chose a set with a card twice.
    TGameRecord Refused;
    Refused.Result = SecondPlayerLost | ErrorOrPass;
    Refused.Termination = TTermination::InvalidSet;
    Refused.RefusedSet = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 18, 18}};
    Summary.Add({4, {1, 0}, &Refused});

    const std::vector<std::string> Labels{"A", "B"};
    EXPECT_THAT(
        Summary.Lines(Labels),
        ElementsAre("A faulted, broke a rule or lost by the time limit in 2 of 4 games (crashed: 1, "
                    "refused: 1); first: StartGame (the result) as the second player of game 2: killed "
                    "by SIGSEGV",
                    "B faulted, broke a rule or lost by the time limit in 2 of 4 games (hung: 1, too "
                    "slow: 1); first: GetTurn as the first player, round 4 of game 2: no answer within "
                    "22000 ms"));
    // The Russian lines say what the host saw in Russian.
    EXPECT_THAT(Summary.RussianLines(Labels)[1],
                ::testing::EndsWith("Впервые: партия 2, раунд 4, вызов GetTurn (первый игрок): нет ответа за "
                                    "22000 мс."));
    EXPECT_EQ(TFaultSummary::FirstFault({2, {1, 0}, &Hung}, Labels),
              "B hung in GetTurn as the first player, round 4 of game 2: no answer within 22000 ms");
    EXPECT_EQ(TFaultSummary::FirstFault({3, {0, 1}, &Slow}, Labels), std::nullopt);
}

}  // namespace
}  // namespace velkaran::testing
