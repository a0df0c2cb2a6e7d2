// The statistics report: its 58 lines, the rounding, the number format and the separator.
#include "match/statistics_report.h"

#include "golden_text.h"
#include "match/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {
namespace {

std::vector<std::string> Report(const TStatisticsTotal &Total, const std::string &Separator = ",") {
    std::vector<std::string> Lines{"kept"};
    WriteStatistics(Lines, Total, Separator);
    EXPECT_EQ(Lines.size(), 59u);
    EXPECT_EQ(Lines[0], "kept");  // appended, never cleared
    Lines.erase(Lines.begin());
    return Lines;
}

TEST(WriteStatistics, AGameWithoutPlaysGivesZeroCountsAndShares) {
    testing::ExpectGolden(Report(TStatisticsTotal{}), "report_empty.txt");
}

TEST(WriteStatistics, SharesAndTimeRoundedHalfToEvenWithTheCallersSeparator) {
    TStatisticsTotal Total;
    Total.TotalTime = 1234.5678;
    Total.TotalEnergy = 4294967295;  // a single game's total above the signed range, read unsigned
    Total.TotalMetal = 12;
    Total.TotalElements = 5000000000;  // a series total: printed as the true number
    Total.CardUses[1] = 1;             // 1/8 = 12.5
    Total.CardUses[2] = 2;             // 25
    Total.CardUses[50] = 5;
    testing::ExpectGolden(Report(Total), "report_comma.txt");

    const std::vector<std::string> Dot = Report(Total, ".");
    EXPECT_EQ(Dot[1], "Время игры : 1234.568 мс");
    EXPECT_EQ(Dot[7], "        1 | 12.5%|(1) Атака 1. En 4 : ->5");
    EXPECT_EQ(Dot[56], "        5 | 62.5%|(50) Пропуск хода. En+1, Me+1, El+1");
}

TEST(WriteStatistics, RowsOfOneThirdAndOfASingleCard) {
    TStatisticsTotal Thirds;
    Thirds.CardUses[3] = 1;
    Thirds.CardUses[4] = 1;
    Thirds.CardUses[5] = 1;
    Thirds.TotalTime = 15;
    const std::vector<std::string> Lines = Report(Thirds);
    EXPECT_EQ(Lines[1], "Время игры : 15 мс");
    EXPECT_EQ(Lines[9], "        1 |33,33%|(3) Атака 3. El 5 : ->5");

    TStatisticsTotal Single;
    Single.CardUses[7] = 123456789012;  // wider than the column: the row grows, nothing is cut
    const std::vector<std::string> Wide = Report(Single);
    EXPECT_EQ(Wide[13], "123456789012 |  100%|(7) Атака 7. En 10, Me 3 : ->10");
    EXPECT_EQ(Wide[7], "        0 |    0%|(1) Атака 1. En 4 : ->5");
}

TEST(WriteStatistics, TimeHalvesGoToTheEvenNeighbour) {
    TStatisticsTotal Total;
    Total.TotalTime = 0.0625;  // 62.5 thousandths, exactly representable
    EXPECT_EQ(Report(Total)[1], "Время игры : 0,062 мс");
    Total.TotalTime = 0.1875;  // 187.5
    EXPECT_EQ(Report(Total)[1], "Время игры : 0,188 мс");
    Total.TotalTime = 0.0004;
    EXPECT_EQ(Report(Total)[1], "Время игры : 0 мс");
}

TEST(AddStatistics, SumsEveryFieldWithoutWrapping) {
    TPlayerStatistics Game;
    Game.TotalEnergy = -1;  // a wrapped 32-bit total counts as 4294967295
    Game.TotalMetal = 2147483647;
    Game.TotalElements = 3;
    Game.TotalTime = 0.5;
    Game.CardUses[50] = 2147483647;
    TStatisticsTotal Total = ToTotal(Game);
    EXPECT_EQ(Total.TotalEnergy, 4294967295);
    AddStatistics(Total, Game);
    EXPECT_EQ(Total.TotalEnergy, 2 * 4294967295LL);
    EXPECT_EQ(Total.TotalMetal, 2 * 2147483647LL);
    EXPECT_EQ(Total.TotalElements, 6);
    EXPECT_EQ(Total.TotalTime, 1.0);
    EXPECT_EQ(Total.CardUses[50], 2 * 2147483647LL);
    EXPECT_EQ(Total.CardUses[1], 0);
}

TEST(FormatGeneral, FifteenSignificantDigitsNeverAnExponent) {
    EXPECT_EQ(FormatGeneral(0.0, ","), "0");
    EXPECT_EQ(FormatGeneral(100.0, ","), "100");
    EXPECT_EQ(FormatGeneral(33.330000000000005, ","), "33,33");
    EXPECT_EQ(FormatGeneral(0.001, "."), "0.001");
    EXPECT_EQ(FormatGeneral(0.00001, "."), "0.00001");
    EXPECT_EQ(FormatGeneral(1234567890123456789.0, "."), "1234567890123460000");
    EXPECT_EQ(FormatGeneral(-2.5, "٫"), "-2٫5");
    EXPECT_EQ(TextLength("-2٫5"), 4);
}

}  // namespace
}  // namespace velkaran
