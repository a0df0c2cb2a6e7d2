// The texts of the game window: costs, status values, names, the last card and outcomes.
#include "card_texts/card_cost_text.h"
#include "velkui/outcome_text.h"
#include "velkui/status_text.h"

#include "rules/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace velkaran {
namespace {

TTurnInfo Closing(int32_t Result, int32_t Turn, int32_t LastMove = 0) {
    TTurnInfo Info{};
    Info.Result = Result;
    Info.Turn = Turn;
    Info.LastMove = LastMove;
    Info.Options = 200 | HiddenInformation;
    return Info;
}

TEST(CardTextTest, CostNamesOnlyWhatTheCardCosts) {
    EXPECT_EQ(CostText(CardCosts[12]), "En 12 · Me 5 · El 2");
    EXPECT_EQ(CostText(CardCosts[18]), "Me 7 · El 2");
    EXPECT_EQ(CostText(CardCosts[50]), "Бесплатно");
}

TEST(CardTextTest, ShortfallNamesEachMissingResource) {
    const TCardCost Cost{12, 5, 2};
    EXPECT_EQ(ShortfallText(Cost, TPlayerStatus{40, 15, 3, 2, 2, 12, 5, 2}), "");
    EXPECT_EQ(ShortfallText(Cost, TPlayerStatus{40, 15, 3, 2, 2, 11, 5, 2}), "Не хватает: En 1");
    EXPECT_EQ(ShortfallText(Cost, TPlayerStatus{40, 15, 3, 2, 2, 9, 5, 0}), "Не хватает: En 3, El 2");
}

TEST(StatusTextTest, HiddenOpponentShowsOnlyTheShield) {
    const TPlayerStatus Hidden{0, 24, 0, 0, 0, -1, -1, -1};
    const TPlayerStatus Broke{40, 15, 3, 2, 2, 0, 0, 0};
    EXPECT_TRUE(IsHiddenStatus(Hidden));
    EXPECT_FALSE(IsHiddenStatus(Broke));
    EXPECT_EQ(StatusValueText(0, true), "скрыто");
    EXPECT_EQ(StatusValueText(-1, true), "скрыто");
    EXPECT_EQ(StatusValueText(0, false), "0");
    EXPECT_EQ(StatusValueText(-4, false), "-4");
    EXPECT_EQ(ProductionText(3, false), "+3 за раунд");
    EXPECT_EQ(ProductionText(0, true), "");
}

TEST(StatusTextTest, SeatNamesForHumansBotsAndMissingNames) {
    EXPECT_EQ(SeatName("_HUMAN_", 0, false), "Вы");
    EXPECT_EQ(SeatName("_HUMAN_", 1, true), "Игрок 2");
    EXPECT_EQ(SeatName("", 0, false), "Игрок 1");
    EXPECT_EQ(SeatName("Greedy", 1, false), "Greedy");
    EXPECT_EQ(TurnLine(5, "Вы", false), "Раунд 5 · Ваш ход");
    EXPECT_EQ(TurnLine(5, "Игрок 2", true), "Раунд 5 · Ходит Игрок 2");
    EXPECT_EQ(WaitingLine(5), "Раунд 5 · Ход соперника");
    EXPECT_EQ(SetCountText(7), "Выбрано 7 из 15");
}

TEST(StatusTextTest, LastMoveSaysWhatAZeroCanMean) {
    EXPECT_EQ(LastMoveText(7, 3, 0, true, 10), "Последний ход соперника: (7) Атака 7. En 10, Me 3 : ->10");
    EXPECT_EQ(LastMoveText(0, 1, 0, true, 15), "Соперник ещё не ходил.");
    // The second player in round 1 is answered to: the first player already moved.
    EXPECT_EQ(LastMoveText(0, 1, 1, true, 15), "Соперник пропустил ход: ему нечем было заплатить.");
    EXPECT_EQ(LastMoveText(0, 6, 1, true, 21), "Последний ход соперника скрыт: его щит больше 20.");
    EXPECT_EQ(LastMoveText(0, 6, 1, true, 20), "Соперник пропустил ход: ему нечем было заплатить.");
    // Without a playable card nothing is hidden from the mover.
    EXPECT_EQ(LastMoveText(0, 6, 1, false, 30), "Соперник пропустил ход: ему нечем было заплатить.");
    EXPECT_EQ(FinalMoveText(77), "Последний ход: 77 (такой карты нет).");
}

TEST(OutcomeTextTest, SeatSeesItsOwnSide) {
    struct Case {
        TTurnInfo Info;
        bool Resigned;
        const char *Headline;
        const char *Reason;
    };
    const Case Cases[] = {
        {Closing(SecondPlayerLost | ReceiverWon, 23), false, "Вы победили", "База соперника разрушена."},
        {Closing(SecondPlayerLost, 23), false, "Вы проиграли", "Ваша база разрушена."},
        {Closing(TurnLimitReached, 200), false, "Ничья", "Достигнут предел: 200 раундов."},
        {Closing(FirstPlayerLost | ErrorOrPass, 0), false, "Вы проиграли", "Ваш набор карт не принят."},
        {Closing(FirstPlayerLost | ErrorOrPass | ReceiverWon, 0), false, "Вы победили",
         "Соперник выбрал недопустимый набор карт."},
        {Closing(SecondPlayerLost | ErrorOrPass | ReceiverWon, 5, 77), false, "Вы победили",
         "Ход соперника отклонён: карты 77 нет."},
        {Closing(SecondPlayerLost | ErrorOrPass | ReceiverWon, 5, 0), false, "Вы победили",
         "Соперник отказался от хода."},
        {Closing(FirstPlayerLost | ErrorOrPass, 5, 31), false, "Вы проиграли",
         "Ваш ход отклонён: карту (31) СуперАтака 4 нельзя сыграть."},
        {Closing(FirstPlayerLost | ErrorOrPass, 5, 0), true, "Вы проиграли", "Вы сдались."},
        {Closing(FirstPlayerLost | TimeLimitExceeded | ReceiverWon, 5), false, "Вы победили",
         "Соперник думал над ходом дольше 20 секунд."},
    };
    for (const Case &Each : Cases) {
        const TOutcome Outcome = SeatOutcome(Each.Info, Each.Resigned);
        EXPECT_EQ(Outcome.Headline, Each.Headline) << Each.Info.Result;
        EXPECT_EQ(Outcome.Reason, Each.Reason) << Each.Info.Result;
    }
    EXPECT_EQ(SeatOutcome(Closing(SecondPlayerLost, 23), false).Length, "Партия длилась 23 раунда.");
    EXPECT_EQ(SeatOutcome(Closing(SecondPlayerLost | ErrorOrPass, 0), false).Length,
              "Партия закончилась до первого раунда.");
}

TEST(OutcomeTextTest, SharedScreenNamesWinnerAndLoser) {
    const TSeatNames Names = {"Игрок 1", "Игрок 2"};
    const TOutcome Refused =
        SharedOutcome(Closing(SecondPlayerLost | ErrorOrPass | ReceiverWon, 9, 51), Names);
    EXPECT_EQ(Refused.Headline, "Победил «Игрок 1»");
    EXPECT_EQ(Refused.Reason, "«Игрок 2»: ход отклонён, карты 51 нет.");
    EXPECT_EQ(SharedOutcome(Closing(FirstPlayerLost, 9), Names).Reason, "«Игрок 1»: база разрушена.");
    EXPECT_EQ(SharedOutcome(Closing(TurnLimitReached, 200), Names).Headline, "Ничья");
}

TEST(OutcomeTextTest, FinalPositionTellsTheResultCodeWhateverTheBoardShows) {
    const TSeatNames Names = {"Greedy", "Planner"};
    TGameView View{};
    View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};  // the board alone would blame the first player's base
    View[1] = {27, 18, 4, 4, 5, 11, 3, 20};
    struct Case {
        int32_t Result, Turn, LastMove;
        const char *Headline;
        const char *Reason;
    };
    const Case Cases[] = {
        {FirstPlayerLost, 41, 29, "Победил «Planner»", "«Greedy»: база разрушена."},
        {SecondPlayerLost, 41, 29, "Победил «Greedy»", "«Planner»: база разрушена."},
        {TurnLimitReached, 200, 50, "Ничья", "Достигнут предел: 200 раундов."},
        {FirstPlayerLost | ErrorOrPass, 0, 0, "Победил «Planner»",
         "«Greedy»: недопустимый набор карт (ошибка или пас)."},
        {SecondPlayerLost | ErrorOrPass, 17, 31, "Победил «Greedy»",
         "«Planner»: ход отклонён, карту (31) СуперАтака 4 нельзя сыграть (ошибка или пас)."},
        {SecondPlayerLost | ErrorOrPass, 17, 99, "Победил «Greedy»",
         "«Planner»: ход отклонён, карты 99 нет (ошибка или пас)."},
        {FirstPlayerLost | ErrorOrPass, 17, 0, "Победил «Planner»",
         "«Greedy»: ход не сделан (ошибка или пас)."},
        {SecondPlayerLost | TimeLimitExceeded, 17, 7, "Победил «Greedy»",
         "«Planner»: ход длился дольше 20 секунд."},
        {SecondPlayerLost | TimeLimitExceeded | ReceiverWon, 17, 7, "Победил «Greedy»",
         "«Planner»: ход длился дольше 20 секунд."},
        {FirstPlayerLost | SecondPlayerLost, 17, 7, "Итог неизвестен", "Неизвестный код результата: 3."},
        {ErrorOrPass, 17, 7, "Итог неизвестен", "Неизвестный код результата: 16."},
    };
    for (const Case &Each : Cases) {
        const TOutcome Outcome =
            FinalPositionOutcome(View, Closing(Each.Result, Each.Turn, Each.LastMove), Names);
        EXPECT_EQ(Outcome.Headline, Each.Headline) << Each.Result;
        EXPECT_EQ(Outcome.Reason, Each.Reason) << Each.Result;
    }
}

TEST(OutcomeTextTest, FinalPositionWithoutACodeIsReadFromTheBoard) {
    const TSeatNames Names = {"Greedy", "Planner"};
    TGameView View{};
    View[0] = {-3, 0, 5, 3, 4, 2, 17, 6};
    View[1] = {27, 18, 4, 4, 5, 11, 3, 20};
    TTurnInfo Info = Closing(0, 41, 29);
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Headline, "Победил «Planner»");
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Reason, "«Greedy»: база разрушена.");
    View[1].Base = 0;  // both bases fell in one move: the first player is the loser
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Headline, "Победил «Planner»");
    View[0].Base = 12;
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Headline, "Победил «Greedy»");
    View[1].Base = 9;
    Info.Turn = 200;
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Headline, "Ничья");
    Info.Turn = 17;
    Info.LastMove = 99;
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Headline, "Партия прервана");
    EXPECT_EQ(FinalPositionOutcome(View, Info, Names).Reason, "Последний ход отклонён: карты 99 нет.");
}

}  // namespace
}  // namespace velkaran
