// The charts' points, bars and marks.
#include "series_charts.h"

#include "results_text.h"

#include <algorithm>
#include <cmath>

namespace velkaran {
namespace {

// The Elo axis never reaches beyond this: a score of 0 or 1 has an infinite estimate.
constexpr double EloAxisLimit = 800;
// Quarter decades of milliseconds make the thinking-time bars.
constexpr int32_t BinsPerBar = TMoveTimeHistogram::BinsPerDecade / 4;

// The indices 1..Count to plot: all of them, or MaxPoints spread evenly with the last among them.
std::vector<std::size_t> Sampled(std::size_t Count, std::size_t MaxPoints) {
    std::vector<std::size_t> Picked;
    const std::size_t Shown = std::min(Count, std::max<std::size_t>(MaxPoints, 2));
    for (std::size_t I = 1; I <= Shown; ++I) Picked.push_back((I * Count + Shown - 1) / Shown);
    return Picked;
}

// The smallest of 1, 2, 5, 10, 20, 50 ... (from Least up) that cuts Span into at most Parts steps.
double RoundStep(double Span, int Parts, double Least) {
    for (double Decade = Least;; Decade *= 10)
        for (const double Step : {Decade, 2 * Decade, 5 * Decade})
            if (Span / Step <= Parts || !std::isfinite(Step)) return Step;
}

// Round marks from 0 to Max, about five of them: "0", "50", "100" ...
std::vector<TAxisMark> CountMarks(double Max) {
    const double Step = RoundStep(Max, 5, 1);
    std::vector<TAxisMark> Marks;
    for (double At = 0; At <= Max + 1e-9; At += Step)
        Marks.push_back({At, std::to_string(static_cast<int64_t>(std::llround(At)))});
    return Marks;
}

std::string Signed(double Value, const std::string &Separator) {
    const std::string Text = FixedText(Value, 0, Separator);
    return Value > 0 ? "+" + Text : Text;
}

// The lower end of bar Bar in milliseconds (bar 0 starts at 0).
double BarStart(int32_t Bar) {
    return Bar == 0 ? 0
                    : std::pow(10.0, -3.0 + static_cast<double>((Bar - 1) * BinsPerBar) /
                                                TMoveTimeHistogram::BinsPerDecade);
}

std::string MsText(double Ms, const std::string &Separator) {
    return FixedText(Ms, Ms < 0.01 ? 3 : Ms < 1 ? 2 : Ms < 10 ? 1 : 0, Separator);
}

TCurveChart ScoreChart(const TMatchSummary &Summary, const std::string &Name, std::size_t MaxPoints) {
    TCurveChart Chart;
    Chart.Title = "Результат " + Name + ", % (по играм)";
    Chart.YMax = 100;
    Chart.Reference = 50;
    for (const int Level : {0, 25, 50, 75, 100})
        Chart.YMarks.push_back({double(Level), std::to_string(Level)});
    const std::vector<TGameRow> &Rows = Summary.Games();
    if (Rows.empty()) {
        Chart.Empty = "Нет ни одной сыгранной игры.";
        return Chart;
    }
    Chart.XMax = static_cast<double>(Rows.size());
    Chart.XMarks = CountMarks(Chart.XMax);
    double Points = 0;
    std::size_t Counted = 0;
    for (const std::size_t Game : Sampled(Rows.size(), MaxPoints)) {
        for (; Counted < Game; ++Counted) {
            const int8_t Winner = Rows[Counted].Winner;
            Points += Winner == 0 ? 1 : Winner < 0 ? 0.5 : 0;
        }
        const double Percent = 100 * Points / static_cast<double>(Game);
        Chart.Points.push_back({static_cast<double>(Game), Percent, Percent, Percent});
    }
    return Chart;
}

TCurveChart EloChart(const TMatchSummary &Summary, const std::string &Name, const std::string &Separator,
                     std::size_t MaxPoints) {
    TCurveChart Chart;
    Chart.Title = "Разница Elo " + Name + " и 95 % интервал (по парам игр)";
    const std::vector<std::array<double, 2>> &History = Summary.PairHistory();
    if (History.empty()) Chart.Empty = "Нет ни одной полной пары игр.";
    if (Summary.Deterministic())
        Chart.Empty = "Все пары игр одинаковы — игра детерминирована, разница Elo не оценивается.";
    if (!Chart.Empty.empty()) return Chart;
    Chart.XMax = static_cast<double>(History.size());
    Chart.XMarks = CountMarks(Chart.XMax);
    TPentanomial Pairs;
    std::size_t Counted = 0;
    double Low = 0, High = 0;
    for (const std::size_t Pair : Sampled(History.size(), MaxPoints)) {
        for (; Counted < Pair; ++Counted) AddPair(Pairs, History[Counted][0], History[Counted][1]);
        const TEloEstimate Elo = EstimateElo(Pairs);
        const auto Clip = [](double Value) { return std::clamp(Value, -EloAxisLimit, EloAxisLimit); };
        const TChartPoint Point{static_cast<double>(Pair), Clip(Elo.Elo), Clip(Elo.Lower), Clip(Elo.Upper)};
        Low = std::min(Low, Point.Low);
        High = std::max(High, Point.High);
        Chart.Points.push_back(Point);
    }
    // A round span that holds every band, 0 among its marks.
    const double Step = RoundStep(High - Low, 6, 10);
    Chart.YMin = std::floor(Low / Step) * Step;
    Chart.YMax = std::max(std::ceil(High / Step) * Step, Chart.YMin + Step);
    for (double At = Chart.YMin; At <= Chart.YMax + 1e-9; At += Step)
        Chart.YMarks.push_back({At, Signed(At, Separator)});
    return Chart;
}

TTimeChart TimeChart(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                     const std::string &Separator) {
    TTimeChart Chart;
    Chart.Title = "Время хода, мс: число ходов";
    Chart.Legend = Names;
    int32_t First = TMoveTimeHistogram::BinCount, Last = -1;
    std::array<std::vector<std::pair<int32_t, uint64_t>>, 2> Bins;
    for (std::size_t Player = 0; Player < 2; ++Player) {
        Bins[Player] = Summary.Players()[Player].MoveTimes.NonEmptyBins();
        for (auto &[Bin, Count] : Bins[Player]) {
            Bin = Bin == 0 ? 0 : 1 + std::min(Bin - 1, TMoveTimeHistogram::LogBinCount - 1) / BinsPerBar;
            First = std::min(First, Bin);
            Last = std::max(Last, Bin);
        }
    }
    if (Last < 0) {
        Chart.Empty = "Время отдельных ходов не известно (его нет в сохранённом документе).";
        return Chart;
    }
    for (int32_t Bar = First; Bar <= Last; ++Bar)
        Chart.BarTexts.push_back(
            Bar == 0 ? "0" : MsText(BarStart(Bar), Separator) + "–" + MsText(BarStart(Bar + 1), Separator));
    for (std::size_t Player = 0; Player < 2; ++Player) {
        Chart.Moves[Player].assign(static_cast<std::size_t>(Last - First + 1), 0);
        for (const auto &[Bar, Count] : Bins[Player])
            Chart.Moves[Player][static_cast<std::size_t>(Bar - First)] += Count;
    }
    return Chart;
}

}  // namespace

TSeriesCharts SeriesCharts(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                           const std::string &DecimalSeparator, std::size_t MaxPoints) {
    return {ScoreChart(Summary, Names[0], MaxPoints),
            EloChart(Summary, Names[0], DecimalSeparator, MaxPoints),
            TimeChart(Summary, Names, DecimalSeparator)};
}

}  // namespace velkaran
