#include "game_order.h"

#include <algorithm>

namespace velkaran {

bool TGameFilter::Passes(const TGameRow &Row) const {
    return (!Winner || *Winner == Row.Winner) && (!Ending || *Ending == Row.Termination) &&
           (!FirstPlayer || *FirstPlayer == Row.FirstPlayer);
}

std::vector<std::size_t> OrderGames(const std::vector<TGameRow> &Rows, const TGameFilter &Filter,
                                    TGameColumn Column, bool Ascending) {
    std::vector<std::size_t> Order;
    for (std::size_t Index = 0; Index < Rows.size(); ++Index)
        if (Filter.Passes(Rows[Index])) Order.push_back(Index);
    // A draw (-1) after both players' wins.
    const auto ResultKey = [](const TGameRow &Row) {
        return Row.Winner < 0 ? 2 : static_cast<int>(Row.Winner);
    };
    // Negative, zero or positive as game A comes before, with or after game B in Column's order.
    const auto Compare = [&](std::size_t A, std::size_t B) {
        const TGameRow &Left = Rows[A];
        const TGameRow &Right = Rows[B];
        switch (Column) {
            case TGameColumn::Number:
                return Left.Number < Right.Number ? -1 : Left.Number > Right.Number;
            case TGameColumn::FirstPlayer:
                return Left.FirstPlayer - Right.FirstPlayer;
            case TGameColumn::Result:
                return ResultKey(Left) - ResultKey(Right);
            case TGameColumn::Ending:
                return static_cast<int>(Left.Termination) - static_cast<int>(Right.Termination);
            case TGameColumn::Rounds:
                return Left.Rounds < Right.Rounds ? -1 : Left.Rounds > Right.Rounds;
            case TGameColumn::Reason:
                return Left.Reason.compare(Right.Reason);
        }
        return 0;
    };
    std::stable_sort(Order.begin(), Order.end(), [&](std::size_t A, std::size_t B) {
        const int Sign = Compare(A, B);
        return Ascending ? Sign < 0 : Sign > 0;
    });
    return Order;
}

}  // namespace velkaran
