// A seat that reports a fault instead of an answer (its worker died, hung or broke the protocol):
// the seat loses, gets no further call, and the game keeps why it ended.
#include "game_fixture.h"

namespace velkaran::testing {
namespace {

class SeatFaults : public GameFixture {
protected:
    // Plays with Second's calls wrapped: in Round (0 for the opening StartGame, -1 for the closing
    // one) the call reports Fault instead of reaching Second.
    void PlayWithSecond(TCallFault Fault, int32_t Round) {
        const TStartGameFn Start = [this, Fault, Round](int32_t Index, TCardList *Set,
                                                        const TTurnInfo *Info) {
            const bool Opening = Set != nullptr;
            if ((Opening && Round == 0) || (!Opening && Round == -1))
                return TCallOutcome{Fault, "gone", false};
            Second.StartGame(Index, Set, Info);
            return TCallOutcome{};
        };
        const TGetTurnFn Turn = [=, this](int32_t Index, const TGameView *View, const TCardList *Playable,
                                          const TTurnInfo *Info) {
            TTurnAnswer Answer;
            if (Info->Turn == Round) {
                Answer.Outcome = {Fault, "gone", false};
                return Answer;
            }
            Answer.Card = Second.GetTurn(Index, View, Playable, Info);
            return Answer;
        };
        PlayGame(First.StartGameSeat(), Start, First.GetTurnSeat(), Turn, Options, Result, Ui, Clock);
    }
};

TEST_F(SeatFaults, AFaultyMoveLosesByErrorAndAHungOneByTheTimeLimit) {
    for (const auto &[Fault, Code, Kind] :
         {std::tuple{TCallFault::Crashed, SecondPlayerLost | ErrorOrPass, TTermination::Crashed},
          std::tuple{TCallFault::Protocol, SecondPlayerLost | ErrorOrPass, TTermination::Crashed},
          std::tuple{TCallFault::Hung, SecondPlayerLost | TimeLimitExceeded, TTermination::Hung}}) {
        First.Calls.clear();
        Second.Calls.clear();
        PlayWithSecond(Fault, 3);
        EXPECT_EQ(Result.Result, Code);
        EXPECT_EQ(Result.Termination, Kind);
        ASSERT_EQ(Result.Faults.size(), 1u);
        EXPECT_EQ(Result.Faults[0].Seat, 1);
        EXPECT_EQ(Result.Faults[0].Call, TSeatCall::GetTurn);
        EXPECT_EQ(Result.Faults[0].Round, 3);
        EXPECT_EQ(Result.Faults[0].Detail, "gone");
        EXPECT_EQ(Result.FinalInfo.LastMove, 0);
        EXPECT_EQ(Closing(First).Info->Result, Code | ReceiverWon);
        EXPECT_EQ(Second.Count(TUiCallKind::StartGame), 1u);  // the faulty seat hears nothing more
    }
}

TEST_F(SeatFaults, AFaultWhileChoosingCardsLosesByErrorEvenWhenItHung) {
    PlayWithSecond(TCallFault::Hung, 0);
    EXPECT_EQ(Result.Result, SecondPlayerLost | ErrorOrPass);
    EXPECT_EQ(Result.Termination, TTermination::Hung);
    EXPECT_EQ(Result.Faults.at(0).Call, TSeatCall::OpeningStartGame);
    EXPECT_EQ(First.Count(TUiCallKind::GetTurn), 0u);
    EXPECT_EQ(Closing(First).Info->Result, SecondPlayerLost | ErrorOrPass | ReceiverWon);
    EXPECT_EQ(Second.Count(TUiCallKind::StartGame), 0u);
}

TEST_F(SeatFaults, AFaultInTheClosingCallIsKeptButChangesNothing) {
    PlayWithSecond(TCallFault::Crashed, -1);
    EXPECT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Result.Termination, TTermination::TurnLimit);
    ASSERT_EQ(Result.Faults.size(), 1u);
    EXPECT_EQ(Result.Faults[0].Call, TSeatCall::ClosingStartGame);
    EXPECT_EQ(Result.Faults[0].Round, 30);
}

}  // namespace
}  // namespace velkaran::testing
