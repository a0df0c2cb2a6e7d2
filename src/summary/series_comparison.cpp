// Two series compared cell by cell.
#include "series_comparison.h"

#include <cmath>
#include <utility>

namespace velkaran {
namespace {

// One series from the side of a given player 1: which of its players that is.
struct TSide {
    const TMatchSummary &Summary;
    bool Swapped;  // its player 2 is the compared player 1

    const TPlayerSummary &Player(int Index) const {
        return Summary.Players()[static_cast<std::size_t>(Swapped ? 1 - Index : Index)];
    }
};

std::string PointsText(const TResultCounts &Counts, const std::string &Separator) {
    const double Points = static_cast<double>(Counts.Wins) + static_cast<double>(Counts.Draws) / 2;
    return FixedText(Points, Counts.Draws % 2 == 0 ? 0 : 1, Separator);
}

std::string SignedText(double Elo, const std::string &Separator) {
    const std::string Text = FixedText(Elo, 1, Separator);
    return Text.rfind("−", 0) == 0 ? Text : "+" + Text;
}

std::string EloCell(const TSide &Side, const std::string &Separator) {
    TEloEstimate Elo = Side.Summary.Elo();
    if (!Elo.Known) return "—";
    if (Side.Swapped) {
        Elo.Elo = -Elo.Elo;
        Elo.Lower = -std::exchange(Elo.Upper, -Elo.Lower);
    }
    return SignedText(Elo.Elo, Separator) + " (от " + SignedText(Elo.Lower, Separator) + " до " +
           SignedText(Elo.Upper, Separator) + ")";
}

std::string LosCell(const TSide &Side, const std::string &Separator) {
    const TEloEstimate Elo = Side.Summary.Elo();
    if (!Elo.Known) return "—";
    return FixedText(100 * (Side.Swapped ? 1 - Elo.Los : Elo.Los), 1, Separator) + " %";
}

std::string MeanMoveCell(const TPlayerSummary &Player, const std::string &Separator) {
    if (Player.Moves == 0) return "—";
    const double Mean = Player.ThinkingMs / static_cast<double>(Player.Moves);
    return FixedText(Mean, Mean < 100 ? 2 : 0, Separator);
}

}  // namespace

bool SameTwoPlayers(const TMatchResults &A, const TMatchResults &B) {
    return A.Names == B.Names || (A.Names[0] == B.Names[1] && A.Names[1] == B.Names[0]);
}

TTextTable SeriesComparison(const TMatchResults &A, const TMatchResults &B,
                            const std::array<std::string, 2> &Captions, const std::string &DecimalSeparator) {
    const std::array<std::string, 2> &Names = A.Names;
    const std::array<TSide, 2> Sides{TSide{A.Summary, false}, TSide{B.Summary, B.Names[0] != Names[0]}};
    TTextTable Table;
    Table.Header = {"", Captions[0], Captions[1]};
    const auto Row = [&Table, &Sides](std::string Caption, auto Cell) {
        Table.Rows.push_back({std::move(Caption), Cell(Sides[0]), Cell(Sides[1])});
    };
    const std::string &Separator = DecimalSeparator;
    Row("Игр", [](const TSide &Side) { return std::to_string(Side.Summary.GamesCounted()); });
    for (int Player = 0; Player < 2; ++Player)
        Row("Очки " + Names[static_cast<std::size_t>(Player)], [Player, &Separator](const TSide &Side) {
            return PointsText(Side.Player(Player).All, Separator);
        });
    Row("Результат " + Names[0] + ", %", [&Separator](const TSide &Side) {
        const TResultCounts &Counts = Side.Player(0).All;
        return Counts.Games > 0 ? FixedText(ScorePercent(Counts), 1, Separator) : std::string("—");
    });
    Row("Разница Elo " + Names[0] + " (95 % интервал)",
        [&Separator](const TSide &Side) { return EloCell(Side, Separator); });
    Row("LOS " + Names[0], [&Separator](const TSide &Side) { return LosCell(Side, Separator); });
    for (int Player = 0; Player < 2; ++Player)
        Row("Среднее время хода " + Names[static_cast<std::size_t>(Player)] + ", мс",
            [Player, &Separator](const TSide &Side) { return MeanMoveCell(Side.Player(Player), Separator); });
    return Table;
}

}  // namespace velkaran
