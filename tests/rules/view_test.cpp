// What MakeView lets a player see.
#include "rules_test_support.h"

namespace velkaran {
namespace {

TGameState DistinctState() {
    TGameState State = StateHolding(1);
    static_cast<TPlayerStatus &>(State[0]) = {41, 5, 4, 3, 6, 17, 18, 19};
    static_cast<TPlayerStatus &>(State[1]) = {30, 21, 7, 8, 9, 10, 11, 12};
    return State;
}

TGameView ExactView(const TGameState &State) { return TGameView{{State[0], State[1]}}; }

TEST(View, WithoutHiddenInformationEverythingIsShown) {
    const TGameState State = DistinctState();
    for (int32_t Player : {0, 1}) {
        TGameView View{};
        MakeView(State, 0, Player, View);
        EXPECT_EQ(View, ExactView(State));
        MakeView(State, TurnLimitMask | BotsOnly, Player, View);
        EXPECT_EQ(View, ExactView(State));
    }
}

TEST(View, AShieldAbove20HidesTheOpponent) {
    TGameState State = DistinctState();
    for (int32_t Player : {0, 1}) {
        const int32_t Other = Opponent(Player);
        State[Other].Shield = 21;
        TGameView View{};
        MakeView(State, HiddenInformation | 500, Player, View);
        TGameView Expected = ExactView(State);
        Expected[Other] = TPlayerStatus{0, 21, 0, 0, 0, -1, -1, -1};
        EXPECT_EQ(View, Expected) << "viewer " << Player;

        State[Other].Shield = 20;
        MakeView(State, HiddenInformation, Player, View);
        EXPECT_EQ(View, ExactView(State)) << "viewer " << Player;
    }
}

TEST(View, TheOwnEntryIsAlwaysExact) {
    TGameState State = DistinctState();
    State[0].Shield = 1000;
    State[1].Shield = 1000;
    TGameView View{};
    MakeView(State, HiddenInformation, 0, View);
    EXPECT_EQ(View[0], State[0]);
    EXPECT_EQ(View[1], (TPlayerStatus{0, 1000, 0, 0, 0, -1, -1, -1}));
}

}  // namespace
}  // namespace velkaran
