// Counting records per player, and the two result texts.
#include "match_tally.h"

#include "game_points.h"
#include "game_recording.h"
#include "rules/catalogue.h"
#include "texts/plural.h"

namespace velkaran {
namespace {

void AppendStatistics(std::vector<std::string> &Lines, const std::string &Heading,
                      const TStatisticsTotal &Total, const std::string &DecimalSeparator) {
    Lines.push_back(Heading);
    WriteStatistics(Lines, Total, DecimalSeparator);
}

// The outcome line of a single game; empty when no bit of the code names an outcome.
std::string OutcomeLine(int32_t Code, const std::string &FirstName, const std::string &SecondName) {
    std::string Line;
    if (HasFlags(Code, FirstPlayerLost)) Line = "Выиграл второй игрок (" + SecondName + ")";
    if (HasFlags(Code, SecondPlayerLost)) Line = "Выиграл первый игрок (" + FirstName + ")";
    if (HasFlags(Code, TurnLimitReached)) Line = "Ничья";
    if (HasFlags(Code, ErrorOrPass)) Line += " (ошибка или пас противника)";
    if (HasFlags(Code, TimeLimitExceeded)) Line += " (превышение лимита времени противника)";
    return Line;
}

}  // namespace

void TMatchTally::Add(const TGameRecord &Record, const std::array<int, 2> &PlayerOfSeat) {
    TPlayerTally &First = Players[static_cast<std::size_t>(PlayerOfSeat[0])];
    TPlayerTally &Second = Players[static_cast<std::size_t>(PlayerOfSeat[1])];
    const int32_t Code = Record.Result;
    if (HasFlags(Code, FirstPlayerLost)) ++Second.Wins;
    if (HasFlags(Code, SecondPlayerLost)) ++First.Wins;
    if (HasFlags(Code, TurnLimitReached)) ++Draws;
    if (HasFlags(Code, FirstPlayerLost | ErrorOrPass)) ++First.Errors;
    if (HasFlags(Code, SecondPlayerLost | ErrorOrPass)) ++Second.Errors;
    const TGamePoints Points = GamePoints(Record);
    First.Points += Points.First;
    Second.Points += Points.Second;
    AddSeatStatistics(First.Statistics, Record, 0);
    AddSeatStatistics(Second.Statistics, Record, 1);
    ++Games;
}

std::vector<std::string> SeriesText(const std::array<std::string, 2> &Names, int64_t GamesPerHalf,
                                    const TMatchTally &Tally, const std::string &DecimalSeparator) {
    const std::string &N1 = Names[0];
    const std::string &N2 = Names[1];
    const TPlayerTally &P1 = Tally.Players[0];
    const TPlayerTally &P2 = Tally.Players[1];
    std::vector<std::string> Lines{
        "Первый игрок : " + N1,
        "Второй игрок : " + N2,
        "Количество игр: " + std::to_string(2 * GamesPerHalf),
        N1 + " : количество побед " + std::to_string(P1.Wins),
        N2 + " : количество побед " + std::to_string(P2.Wins),
        "Количество ничей " + std::to_string(Tally.Draws),
        N1 + " : количество ошибок " + std::to_string(P1.Errors),
        N2 + " : количество ошибок " + std::to_string(P2.Errors),
        N1 + " : " + std::to_string(P1.Points) + " очков",
        N2 + " : " + std::to_string(P2.Points) + " очков",
        "",
        "",
    };
    AppendStatistics(Lines, "Статистика первого игрока (" + N1 + ")", P1.Statistics, DecimalSeparator);
    Lines.insert(Lines.end(), {"", ""});
    AppendStatistics(Lines, "Статистика второго игрока (" + N2 + ")", P2.Statistics, DecimalSeparator);
    return Lines;
}

std::string SeriesStoppedLine(int64_t Played, int64_t Planned) {
    return "Серия остановлена после " + std::to_string(Played) + " из " + CountText(Planned, OfGamesWord);
}

std::vector<std::string> SingleGameText(const TGameRecord &Record, const std::string &DecimalSeparator) {
    const TGamePoints Points = GamePoints(Record);
    const std::string &N1 = Record.Seats[0].Name;
    const std::string &N2 = Record.Seats[1].Name;
    std::vector<std::string> Lines{
        "Первый игрок : " + N1,
        "Второй игрок : " + N2,
        "Количество ходов : " + std::to_string(static_cast<uint32_t>(Record.Rounds)),
        OutcomeLine(Record.Result, N1, N2),
        "Очки первого игрока : " + std::to_string(Points.First),
        "Очки второго игрока : " + std::to_string(Points.Second),
        "",
        "",
    };
    AppendStatistics(Lines, "Статистика первого игрока (" + N1 + ")", ToTotal(SeatStatistics(Record, 0)),
                     DecimalSeparator);
    Lines.insert(Lines.end(), {"", ""});
    AppendStatistics(Lines, "Статистика второго игрока (" + N2 + ")", ToTotal(SeatStatistics(Record, 1)),
                     DecimalSeparator);
    return Lines;
}

}  // namespace velkaran
