// The cells and lines of the results view.
#include "results_text.h"

#include "match/match_tally.h"
#include "rules/player_names.h"
#include "texts/plural.h"

#include <charconv>
#include <cmath>

namespace velkaran {
namespace {

std::string Count(int64_t Value) { return std::to_string(Value); }

// A time in milliseconds with as many decimals as its size calls for.
std::string MsText(double Ms, const std::string &Separator) {
    if (Ms < 1) return FixedText(Ms, 3, Separator);
    if (Ms < 100) return FixedText(Ms, 2, Separator);
    return FixedText(Ms, 0, Separator);
}

// An Elo difference with its sign: "+35,2", "−4,0", "+∞".
std::string SignedElo(double Elo, const std::string &Separator) {
    const std::string Text = FixedText(Elo, 1, Separator);
    return Text.rfind("−", 0) == 0 ? Text : "+" + Text;
}

std::vector<std::string> StandingRow(const std::string &Name, const char *Seat, const TResultCounts &Counts,
                                     const std::string &Separator) {
    return {Name,
            Seat,
            Count(Counts.Games),
            Count(Counts.Wins),
            Count(Counts.Draws),
            Count(Counts.Losses),
            std::to_string(Counts.Points),
            Counts.Games > 0 ? FixedText(ScorePercent(Counts), 1, Separator) : "—"};
}

std::string Headline(const TMatchSummary &Summary, const TMatchScope &Scope) {
    if (!Scope.Series) return Summary.GamesCounted() > 0 ? "Одна игра" : StoppedGameLine;
    const int64_t Planned = 2 * (Scope.GamesPerHalf > 0 ? Scope.GamesPerHalf : 0);
    if (Scope.Stopped) return SeriesStoppedLine(Summary.GamesCounted(), Planned);
    return "Серия: сыграно " + Count(Summary.GamesCounted()) + " из " + CountText(Planned, OfGamesWord);
}

std::string EloLine(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                    const std::string &Separator) {
    const int64_t PairCount = static_cast<int64_t>(Pairs(Summary.Pairs()));
    if (PairCount == 0)
        return "Разница Elo: нет ни одной полной пары игр (две игры, в которых игроки меняются местами).";
    const TPairCensus &Census = Summary.Census();
    if (Summary.Deterministic() && Census.Positions() == 1)
        return PairCount == 1 ? "Разница Elo не оценивается: сыграна одна пара игр, а игра детерминирована."
                              : "Разница Elo не оценивается: все " + CountText(PairCount, PairsWord) +
                                    " игр одинаковы — игра детерминирована.";
    const TEloEstimate Elo = Summary.Elo();
    return "Разница Elo " + Names[0] + " относительно " + Names[1] + ": " + SignedElo(Elo.Elo, Separator) +
           ", 95 % интервал от " + SignedElo(Elo.Lower, Separator) + " до " +
           SignedElo(Elo.Upper, Separator) + "; LOS " + FixedText(100 * Elo.Los, 1, Separator) +
           " % (пар игр: " + Count(PairCount) + ", из них различных: " + Count(Census.DistinctPairs()) +
           (Summary.Deterministic() ? "; игра детерминирована, оценка по различным парам" : "") + ")";
}

}  // namespace

std::string FixedText(double Value, int Decimals, const std::string &DecimalSeparator) {
    if (std::isinf(Value)) return Value < 0 ? "−∞" : "∞";
    if (std::isnan(Value)) return "—";
    char Buffer[400];
    const auto [End, Error] =
        std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::fixed, Decimals);
    if (Error != std::errc()) return "—";
    std::string Text(Buffer, End);
    const bool Negative = Text[0] == '-';
    if (Negative) Text.erase(0, 1);
    if (const std::size_t Point = Text.find('.'); Point != std::string::npos)
        Text.replace(Point, 1, DecimalSeparator);
    const bool Zero = Text.find_first_not_of("0" + DecimalSeparator) == std::string::npos;
    return Negative && !Zero ? "−" + Text : Text;
}

std::array<std::string, 2> ShownPlayerNames(const std::array<std::string, 2> &Names) {
    std::array<std::string, 2> Shown;
    for (std::size_t Player = 0; Player < 2; ++Player)
        Shown[Player] = Names[Player] == HumanName ? "Человек" : Names[Player];
    if (Shown[0] == Shown[1]) {
        Shown[0] += " (игрок №1)";
        Shown[1] += " (игрок №2)";
    }
    return Shown;
}

std::string TerminationText(TTermination Kind) { return std::string(TerminationRow(Kind).Russian); }

std::string GameEndingText(const TGameRow &Row) {
    return Row.GaveUp ? std::string(GaveUpText) : TerminationText(Row.Termination);
}

TResultsText ResultsText(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                         const TMatchScope &Scope, const std::string &DecimalSeparator) {
    TResultsText Text;
    Text.Headline = Headline(Summary, Scope);

    Text.Standings.Header = {"Игрок",  "Ходил",     "Игр",   "Побед",
                             "Ничьих", "Поражений", "Очков", "Результат, %"};
    Text.ThinkingTime.Header = {"Игрок", "Ходов", "Среднее, мс", "95-й процентиль, мс", "Максимум, мс"};
    for (std::size_t Player = 0; Player < 2; ++Player) {
        const TPlayerSummary &Counted = Summary.Players()[Player];
        Text.Standings.Rows.push_back(StandingRow(Names[Player], "всего", Counted.All, DecimalSeparator));
        Text.Standings.Rows.push_back(StandingRow("", "первым", Counted.AsSeat[0], DecimalSeparator));
        Text.Standings.Rows.push_back(StandingRow("", "вторым", Counted.AsSeat[1], DecimalSeparator));
        const TMoveTimeHistogram &Times = Counted.MoveTimes;
        const bool Timed = Times.Count() > 0;
        Text.ThinkingTime.Rows.push_back({Names[Player], std::to_string(Times.Count()),
                                          Timed ? MsText(Times.Mean(), DecimalSeparator) : "—",
                                          Timed ? MsText(Times.Quantile(0.95), DecimalSeparator) : "—",
                                          Timed ? MsText(Times.Max(), DecimalSeparator) : "—"});
    }
    Text.Elo = EloLine(Summary, Names, DecimalSeparator);

    Text.Terminations.Header = {"Как закончилась", "Игр", "Проиграл " + Names[0], "Проиграл " + Names[1]};
    for (int Kind = 0; Kind < TerminationKinds; ++Kind) {
        const auto Index = static_cast<std::size_t>(Kind);
        if (Summary.Terminations()[Index] == 0) continue;
        const bool Draw = static_cast<TTermination>(Kind) == TTermination::TurnLimit;
        // A move given up is told apart from a card the rules refused.
        const bool Refused = static_cast<TTermination>(Kind) == TTermination::RefusedCard;
        const std::array<int64_t, 2> GaveUp{Refused ? Summary.Players()[0].GaveUp : 0,
                                            Refused ? Summary.Players()[1].GaveUp : 0};
        const std::array<int64_t, 2> Lost{Summary.Players()[0].LostBy[Index] - GaveUp[0],
                                          Summary.Players()[1].LostBy[Index] - GaveUp[1]};
        if (Lost[0] + Lost[1] > 0 || !Refused)
            Text.Terminations.Rows.push_back({TerminationText(static_cast<TTermination>(Kind)),
                                              Count(Summary.Terminations()[Index] - GaveUp[0] - GaveUp[1]),
                                              Draw ? "—" : Count(Lost[0]), Draw ? "—" : Count(Lost[1])});
        if (GaveUp[0] + GaveUp[1] > 0)
            Text.Terminations.Rows.push_back(
                {std::string(GaveUpText), Count(GaveUp[0] + GaveUp[1]), Count(GaveUp[0]), Count(GaveUp[1])});
    }
    return Text;
}

std::vector<std::string> GameListHeader() {
    return {"№", "Первым ходил", "Результат", "Окончание", "Раундов", "Причина"};
}

std::vector<std::string> GameRowText(const TGameRow &Row, const std::array<std::string, 2> &Names) {
    const std::string Result =
        Row.Winner < 0 ? std::string("ничья") : "победа " + Names[static_cast<std::size_t>(Row.Winner)];
    return {Count(Row.Number),
            Names[static_cast<std::size_t>(Row.FirstPlayer)],
            Result,
            GameEndingText(Row),
            std::to_string(Row.Rounds),
            Row.Reason};
}

std::vector<std::string> GameReasonLines(const TMatchSummary &Summary,
                                         const std::array<std::string, 2> &Names, std::size_t Limit) {
    std::vector<std::string> Lines;
    int64_t Left = 0;
    for (const TGameRow &Row : Summary.Games()) {
        if (Row.Reason.empty() || Row.Winner < 0) continue;
        if (Lines.size() >= Limit + 1) {
            ++Left;
            continue;
        }
        if (Lines.empty()) Lines.push_back("Ошибки и отказы ботов:");
        Lines.push_back("Игра " + Count(Row.Number) + ": " + Names[static_cast<std::size_t>(1 - Row.Winner)] +
                        " — " + GameEndingText(Row) + ": " + Row.Reason);
    }
    if (Left > 0) Lines.push_back("… и ещё " + CountText(Left, GamesWord) + " (см. список игр)");
    return Lines;
}

}  // namespace velkaran
