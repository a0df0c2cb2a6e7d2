// What the charts of a series draw: player 1's running score and Elo estimate over the games, and
// each player's thinking times by size, with the captions and axis marks they carry.
#pragma once

#include "match_summary.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {

// A mark on an axis: where it is and what it reads.
struct TAxisMark {
    double At = 0;
    std::string Text;
};

// One point of a curve with the band around it (Low = High = Y without a band).
struct TChartPoint {
    double X = 0, Y = 0, Low = 0, High = 0;
};

// A chart of one curve: its title, what is known of the axes, and the points in X order.
struct TCurveChart {
    std::string Title;
    std::string Empty;  // why there is no curve (then Points is empty), e.g. no complete pair yet
    double XMax = 1, YMin = 0, YMax = 1;
    std::vector<TAxisMark> XMarks, YMarks;
    double Reference = 0;  // a level drawn across (50 %, Elo 0)
    std::vector<TChartPoint> Points;
};

// Each player's moves by thinking time: the same bars for both, in milliseconds.
struct TTimeChart {
    std::string Title;
    std::string Empty;                           // why there are no bars (no times known)
    std::array<std::string, 2> Legend;           // the players' names
    std::vector<std::string> BarTexts;           // what each bar's span reads, "1–1,8"
    std::array<std::vector<uint64_t>, 2> Moves;  // per player, per bar
};

struct TSeriesCharts {
    TCurveChart Score;  // player 1's score in per cent after each game
    TCurveChart Elo;    // player 1's Elo difference with its 95 % interval after each complete pair
    TTimeChart Times;
};

// The charts of Summary, whose players are Names; at most MaxPoints points a curve (evenly spread
// over the games, the last always among them). Numbers use DecimalSeparator.
TSeriesCharts SeriesCharts(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                           const std::string &DecimalSeparator, std::size_t MaxPoints = 400);

}  // namespace velkaran
