// The statistics report of one player.
#include "statistics_report.h"

#include "number_text.h"
#include "rounding.h"
#include "rules/catalogue.h"

#include <string>

namespace velkaran {
namespace {

constexpr char RuleLine[] = "-------------------------------------------";
constexpr double TimeFactor = 0.001;  // the time is rounded to 3 decimal places
constexpr double ShareFactor = 0.01;  // a share to 2
constexpr int CountWidth = 9;
constexpr int ShareWidth = 5;

// Card's share of all Plays in per cent (division first); 0 when nothing was played.
double Share(int64_t Count, int64_t Plays) {
    if (Plays == 0) return 0.0;
    return static_cast<double>(Count) / static_cast<double>(Plays) * 100.0;
}

std::string TableRow(int32_t Card, int64_t Count, int64_t Plays, const std::string &DecimalSeparator) {
    const std::string CountText = std::to_string(Count);
    const std::string ShareText =
        FormatGeneral(RoundToFactor(Share(Count, Plays), ShareFactor), DecimalSeparator);
    return Spaces(CountWidth - TextLength(CountText)) + CountText + " |" +
           Spaces(ShareWidth - TextLength(ShareText)) + ShareText + "%|" +
           std::string(CardDescriptions[Card]);
}

}  // namespace

TStatisticsTotal ToTotal(const TPlayerStatistics &Stats) {
    TStatisticsTotal Total;
    AddStatistics(Total, Stats);
    return Total;
}

void AddStatistics(TStatisticsTotal &Total, const TPlayerStatistics &Stats) {
    Total.TotalEnergy += static_cast<uint32_t>(Stats.TotalEnergy);
    Total.TotalMetal += static_cast<uint32_t>(Stats.TotalMetal);
    Total.TotalElements += static_cast<uint32_t>(Stats.TotalElements);
    Total.TotalTime += Stats.TotalTime;
    for (int32_t Card = 1; Card <= CardCount; ++Card) Total.CardUses[Card] += Stats.CardUses[Card];
}

std::string Spaces(int N) { return std::string(N > 0 ? static_cast<std::size_t>(N) : 0, ' '); }

void WriteStatistics(std::vector<std::string> &Lines, TStatisticsTotal Stats,
                     const std::string &DecimalSeparator) {
    int64_t Plays = 0;
    for (int32_t Card = 1; Card <= CardCount; ++Card) Plays += Stats.CardUses[Card];

    Lines.emplace_back(RuleLine);
    Lines.push_back("Время игры : " +
                    FormatGeneral(RoundToFactor(Stats.TotalTime, TimeFactor), DecimalSeparator) + " мс");
    Lines.push_back("Всего накоплено энергии : " + std::to_string(Stats.TotalEnergy));
    Lines.push_back("Всего накоплено металла : " + std::to_string(Stats.TotalMetal));
    Lines.push_back("Всего накоплено эллектроэллементов : " + std::to_string(Stats.TotalElements));
    Lines.emplace_back("Использованные проекты");
    Lines.emplace_back("Количество|     %|Проект");
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        Lines.push_back(TableRow(Card, Stats.CardUses[Card], Plays, DecimalSeparator));
    }
    Lines.emplace_back(RuleLine);
}

}  // namespace velkaran
