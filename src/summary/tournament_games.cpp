#include "tournament_games.h"

#include "results_text.h"

#include "records/refusal.h"

#include <algorithm>

namespace velkaran {

TTournamentGameRow TournamentGameRow(const TGameRecord &Record, const TSchedule &Schedule) {
    const TGamePlace &Place = Record.Place;
    const TScheduledGame Game = Schedule.Game(Schedule.IndexOf(Place.Encounter, Place.Pair, Place.Leg));
    TTournamentGameRow Row{.Number = Place.Number,
                           .Encounter = Place.Encounter,
                           .Bots = {Game.First, Game.Second},
                           .Winner = -1,
                           .Termination = Record.Termination,
                           .Rounds = Record.Rounds,
                           .Reason = LossDetail(Record, TLanguage::Russian)};
    for (int32_t Seat = 0; Seat < 2; ++Seat)
        if (SeatPoints(Record, Seat) == 1) Row.Winner = Row.Bots[static_cast<std::size_t>(Seat)];
    return Row;
}

bool TTournamentGameFilter::Passes(const TTournamentGameRow &Row) const {
    return (!Bot || *Bot == Row.Bots[0] || *Bot == Row.Bots[1]) && (!Winner || *Winner == Row.Winner) &&
           (!Ending || *Ending == Row.Termination);
}

std::vector<std::size_t> OrderTournamentGames(const std::vector<TTournamentGameRow> &Rows,
                                              const TTournamentGameFilter &Filter,
                                              TTournamentGameColumn Column, bool Ascending,
                                              const std::vector<std::string> &Names) {
    std::vector<std::size_t> Order;
    for (std::size_t Index = 0; Index < Rows.size(); ++Index)
        if (Filter.Passes(Rows[Index])) Order.push_back(Index);
    // Bots by their names: the rank of each bot's name among all names.
    std::vector<int32_t> ByName(Names.size());
    for (std::size_t Bot = 0; Bot < Names.size(); ++Bot)
        ByName[Bot] = static_cast<int32_t>(std::count_if(
            Names.begin(), Names.end(), [&](const std::string &Other) { return Other < Names[Bot]; }));
    const auto NameRank = [&ByName](int32_t Bot) {
        return Bot >= 0 && static_cast<std::size_t>(Bot) < ByName.size()
                   ? ByName[static_cast<std::size_t>(Bot)]
                   : static_cast<int32_t>(ByName.size());
    };
    // Negative, zero or positive as game A comes before, with or after game B in Column's order.
    const auto Compare = [&](std::size_t A, std::size_t B) {
        const TTournamentGameRow &Left = Rows[A];
        const TTournamentGameRow &Right = Rows[B];
        switch (Column) {
            case TTournamentGameColumn::Number:
                return Left.Number < Right.Number ? -1 : Left.Number > Right.Number;
            case TTournamentGameColumn::First:
                return NameRank(Left.Bots[0]) - NameRank(Right.Bots[0]);
            case TTournamentGameColumn::Second:
                return NameRank(Left.Bots[1]) - NameRank(Right.Bots[1]);
            case TTournamentGameColumn::Result:
                return NameRank(Left.Winner) - NameRank(Right.Winner);
            case TTournamentGameColumn::Ending:
                return static_cast<int>(Left.Termination) - static_cast<int>(Right.Termination);
            case TTournamentGameColumn::Rounds:
                return Left.Rounds < Right.Rounds ? -1 : Left.Rounds > Right.Rounds;
            case TTournamentGameColumn::Reason:
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

std::vector<std::string> TournamentGameListHeader() {
    return {"№", "Первым ходил", "Вторым ходил", "Результат", "Окончание", "Раундов", "Причина"};
}

std::vector<std::string> TournamentGameRowText(const TTournamentGameRow &Row,
                                               const std::vector<std::string> &Names) {
    const auto Name = [&Names](int32_t Bot) {
        return Bot >= 0 && static_cast<std::size_t>(Bot) < Names.size() ? Names[static_cast<std::size_t>(Bot)]
                                                                        : std::string("?");
    };
    return {std::to_string(Row.Number),
            Name(Row.Bots[0]),
            Name(Row.Bots[1]),
            Row.Winner < 0 ? std::string("ничья") : "победа " + Name(Row.Winner),
            TerminationText(Row.Termination),
            std::to_string(Row.Rounds),
            Row.Reason};
}

}  // namespace velkaran
