// The order of the calls into the game interface and the players in the three kinds of game,
// and one set of player functions serving both seats.
#include "game_fixture.h"

namespace velkaran::testing {
namespace {

using CallOrder = GameFixture;

// The journal entries of Rounds rounds between two players labelled A and B.
std::vector<std::string> Rounds(int Count, const std::string &A, const std::string &B) {
    std::vector<std::string> Result;
    for (int I = 0; I < Count; ++I) {
        Result.push_back(A + ".GetTurn");
        Result.push_back(B + ".GetTurn");
    }
    return Result;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> Parts) {
    std::vector<std::string> Result;
    for (const auto &Part : Parts) Result.insert(Result.end(), Part.begin(), Part.end());
    return Result;
}

TEST_F(CallOrder, HumanGameOpensTheInterfaceFirstAndClosesItLast) {
    // The human is the first seat: its StartGame and GetTurn are the interface's own.
    Options = TGameOptions{HumanGame(3), "_HUMAN_", "Beta"};
    Ui.OnStartGame = Choose(PlainSet);
    Ui.OnGetTurn = Always(50);
    Now = 0;
    Ui.OnCall = [this](const TRecordedCall &Call) {
        if (Call.Kind == TUiCallKind::GetTurn) Now += 3'600'000;  // an hour per move is no time-out
    };
    PlayGame(Ui.StartGameSeat(), Second.StartGameSeat(), Ui.GetTurnSeat(), Second.GetTurnSeat(), Options,
             Result, Ui, Clock);

    EXPECT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Journal,
              Join({{"ui.ShowGameInterface", "ui.SetPlayerNames", "ui.StartGame", "second.StartGame"},
                    Rounds(3, "ui", "second"),
                    {"ui.StartGame", "second.StartGame", "ui.HideGameInterface"}}));
    const TRecordedCall Names = Ui.CallsOf(TUiCallKind::SetPlayerNames).at(0);
    EXPECT_EQ(Names.FirstName, "_HUMAN_");
    EXPECT_EQ(Names.SecondName, "Beta");
    EXPECT_EQ(std::string(Second.Calls.at(0).Info->OpponentName), "_HUMAN_");
    EXPECT_EQ(Bytes(*Ui.Calls.at(2).Info), Bytes(ExpectedInfo(0, 0, HumanGame(3), "Beta", 0)));
}

TEST_F(CallOrder, HumanGamePassesAnEmptyNameAsNull) {
    Options = TGameOptions{HumanGame(1), "", "_HUMAN_"};
    Play();

    const TRecordedCall Names = Ui.CallsOf(TUiCallKind::SetPlayerNames).at(0);
    EXPECT_FALSE(Names.FirstName.has_value());
    EXPECT_EQ(Names.SecondName, "_HUMAN_");
}

TEST_F(CallOrder, SingleBotGameShowsTheOpenFinalPositionAfterTheClosingCalls) {
    // The second player hides behind a shield of 22 and more; the final view hides nothing.
    Options.Options = SingleBotGame(3);
    Second.OnStartGame = Choose(ShieldSet);
    Second.OnGetTurn = FirstPlayable();
    Play();

    EXPECT_EQ(Journal, Join({{"first.StartGame", "second.StartGame"},
                             Rounds(3, "first", "second"),
                             {"first.StartGame", "second.StartGame", "ui.SetPlayerNames",
                              "ui.ShowGameInterface", "ui.ShowGame", "ui.HideGameInterface"}}));
    const TRecordedCall Names = Ui.CallsOf(TUiCallKind::SetPlayerNames).at(0);
    EXPECT_EQ(Names.FirstName, "Alpha");
    EXPECT_EQ(Names.SecondName, "Beta");
    const TRecordedCall Show = Ui.CallsOf(TUiCallKind::ShowGame).at(0);
    ASSERT_GT(Result.FinalState[1].Shield, 20);
    EXPECT_TRUE(Show.View->Player[0] == Result.FinalState[0]);
    EXPECT_TRUE(Show.View->Player[1] == Result.FinalState[1]);
    EXPECT_EQ(Show.Reserved, 0);
    EXPECT_EQ(Show.InfoAddress, &Result.FinalInfo);
    EXPECT_EQ(Bytes(*Show.Info), Bytes(ExpectedInfo(15, 3, SingleBotGame(3), "", TurnLimitReached)));
}

TEST_F(CallOrder, SeriesGameOnlyClosesTheInterface) {
    Play();

    EXPECT_EQ(Ui.Kinds(), std::vector<TUiCallKind>{TUiCallKind::HideGameInterface});
    EXPECT_EQ(Journal.back(), "ui.HideGameInterface");
}

TEST_F(CallOrder, SamePlayerFunctionsServeBothSeatsToldApartByIndex) {
    RecordingGameInterface Both{"both", &Journal};
    Both.OnStartGame = Choose(PlainSet);
    Both.OnGetTurn = [](int32_t Index, const TGameView *, const TCardList *, const TTurnInfo *) {
        return Index == 0 ? 1 : 50;
    };
    Options.Options = SeriesGame(2);
    const TStartGameFn Start = Both.StartGameSeat();
    const TGetTurnFn Turn = Both.GetTurnSeat();
    PlayGame(Start, Start, Turn, Turn, Options, Result, Ui, Clock);

    ASSERT_EQ(Both.Calls.size(), 8u);
    const std::vector<TUiCallKind> Kinds = Both.Kinds();
    for (std::size_t I = 0; I < Both.Calls.size(); ++I) {
        const TRecordedCall &Call = Both.Calls[I];
        EXPECT_EQ(Call.PlayerIndex, static_cast<int32_t>(I % 2)) << "call " << I;
        EXPECT_EQ(std::string(Call.Info->OpponentName), I % 2 == 0 ? "Beta" : "Alpha") << "call " << I;
        EXPECT_EQ(Call.Kind, I < 2 || I >= 6 ? TUiCallKind::StartGame : TUiCallKind::GetTurn) << "call " << I;
    }
    EXPECT_EQ(Result.FinalState[0].Statistics.CardUses[1], 2);
    EXPECT_EQ(Result.FinalState[1].Statistics.CardUses[50], 2);
    EXPECT_EQ(Result.FinalState[1].Shield, 5);  // two attacks of 5 on the second seat only
}

}  // namespace
}  // namespace velkaran::testing
