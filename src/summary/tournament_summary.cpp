// A tournament's document read back, and the view's tables made from its statistics.
#include "tournament_summary.h"

#include "records/record_file.h"
#include "records/record_journal.h"
#include "texts/plural.h"
#include "tournament/tournament_document.h"

#include <cmath>

namespace velkaran {

std::shared_ptr<TTournamentSummary> SummarizeTournament(std::shared_ptr<const TTournamentResults> Results,
                                                        std::vector<TTournamentGameRow> Games,
                                                        std::shared_ptr<TRecordArchive> Archive,
                                                        bool Complete, const std::string &DecimalSeparator) {
    auto Summary = std::make_shared<TTournamentSummary>();
    Summary->Statistics = ComputeStatistics(*Results);
    Summary->Names = ShownBotNames(Results->Config().Bots);
    Summary->Results = std::move(Results);
    Summary->Games = std::move(Games);
    Summary->Archive = std::move(Archive);
    Summary->Complete = Complete;
    Summary->DecimalSeparator = DecimalSeparator;
    return Summary;
}

std::shared_ptr<TTournamentSummary> LoadTournamentSummary(const std::string &Path,
                                                          const std::string &DecimalSeparator,
                                                          std::string &Error) {
    nlohmann::json Head;
    std::string Why;
    if (!ReadDocumentHead(Path, Head, Why, {"format", "version", "config"})) {
        Error = "файл не прочитан: " + Why;
        return nullptr;
    }
    const auto Format = Head.find("format");
    if (Format == Head.end() || *Format != TournamentFormat) {
        Error = "это не документ турнира (его пишут velkaran-tournament --json и окно «Турнир…»)";
        return nullptr;
    }
    const auto Version = Head.find("version");
    if (Version == Head.end() || *Version != TournamentDocumentVersion) {
        Error = "документ турнира другой версии: эта программа читает версию " +
                std::to_string(TournamentDocumentVersion);
        return nullptr;
    }
    const auto ConfigJson = Head.find("config");
    const std::optional<TTournamentConfig> Config =
        ConfigJson != Head.end() ? ConfigFromJson(*ConfigJson, Why) : std::nullopt;
    if (!Config) {
        Error = "настройки турнира повреждены" + (Why.empty() ? std::string() : ": " + Why);
        return nullptr;
    }
    auto Results = std::make_shared<TTournamentResults>(*Config);
    std::vector<TTournamentGameRow> Games;
    std::string Problem;  // the first game that does not fit
    nlohmann::json Rest;
    std::shared_ptr<TRecordArchive> Archive = OpenRecordFile(
        Path, Rest,
        [&](const TGameRecord &Record) {
            if (!Problem.empty()) return;
            if (CountSavedGame(*Results, Record, Problem))
                Games.push_back(TournamentGameRow(Record, Results->Schedule()));
        },
        Error);
    if (!Archive) return nullptr;
    if (!Problem.empty()) {
        Error = "игра не подходит к турниру: " + Problem;
        return nullptr;
    }
    // The thinking times are not in the records: a document without them shows none.
    if (const auto Times = Rest.find("move_times");
        Times != Rest.end() && !Results->AddSavedMoveTimes(*Times, Why)) {
        Error = "время на ход повреждено: " + Why;
        return nullptr;
    }
    const auto Complete = Rest.find("complete");
    return SummarizeTournament(std::move(Results), std::move(Games), std::move(Archive),
                               Complete != Rest.end() && *Complete == true, DecimalSeparator);
}

namespace {

std::string Count(int64_t Value) { return std::to_string(Value); }

// An Elo difference rounded to a whole number, with its sign: "+35", "−4", "+∞".
std::string SignedElo(double Elo, const std::string &Separator) {
    const std::string Text = FixedText(Elo, 0, Separator);
    return Text.rfind("−", 0) == 0 || Text == "0" ? Text : "+" + Text;
}

std::string PercentOf(double Share, const std::string &Separator) {
    return FixedText(100 * Share, 1, Separator);
}

// Points in games: "6,5/10".
std::string PointsText(int64_t Wins, int64_t Draws, int64_t Games, const std::string &Separator) {
    const std::string Whole = Count(Wins + Draws / 2);
    return (Draws % 2 == 0 ? Whole : Whole + Separator + "5") + "/" + Count(Games);
}

std::string RatingText(const TBotRating &Rating, const std::string &Separator) {
    if (!Rating.Rated) return "—";
    if (!std::isfinite(Rating.Elo) || !std::isfinite(Rating.Lower) || !std::isfinite(Rating.Upper))
        return SignedElo(Rating.Elo, Separator);
    return SignedElo(Rating.Elo, Separator) + " ± " +
           FixedText((Rating.Upper - Rating.Lower) / 2, 0, Separator);
}

std::string Headline(const TTournamentSummary &Summary) {
    const TTournamentResults &Results = *Summary.Results;
    const TTournamentConfig &Config = Results.Config();
    const int64_t Bots = static_cast<int64_t>(Config.Bots.size());
    std::string Text = Config.Format == TTournamentFormat::Gauntlet
                           ? "Один против всех: " + Summary.Names[static_cast<std::size_t>(Config.Gauntlet)] +
                                 ", соперников: " + Count(Bots - 1)
                           : "Круговой турнир: " + CountText(Bots, BotsWord);
    Text += ", " + CountText(Config.Pairs, PairsWord) + " игр на встречу; сыграно " +
            Count(Results.GamesDone()) + " из " + CountText(Results.Schedule().Games(), OfGamesWord);
    if (!Summary.Complete) Text += " (турнир остановлен)";
    return Text;
}

std::vector<std::string> Notes(const TTournamentSummary &Summary) {
    const TTournamentResults &Results = *Summary.Results;
    const TTournamentConfig &Config = Results.Config();
    const std::string &Separator = Summary.DecimalSeparator;
    std::vector<std::string> Lines;
    if (!Config.Openings.Empty())
        Lines.push_back("Начальные позиции: " + Count(Config.Openings.Size()) +
                        (Config.Openings.Seed
                             ? " случайных (зерно " + std::to_string(*Config.Openings.Seed) + ")"
                             : std::string(" из книги")) +
                        ", сыграно из них: " + Count(Results.PositionsPlayed()));
    Lines.push_back("Лимит ходов: " + Count(Config.TurnLimit) +
                    ", лимит времени на ход: " + Count(Config.MoveLimitMs) + " мс");
    if (Summary.Statistics.RatingsRegularized)
        Lines.push_back(
            "Рейтинги: какой-то бот выиграл или проиграл все свои игры, поэтому между каждыми двумя "
            "встречавшимися ботами добавлена одна ничья.");
    if (Summary.Statistics.Sprt && Config.Sprt) {
        const TSprtState &Sprt = *Summary.Statistics.Sprt;
        const char *Verdict = Sprt.Verdict == TSprtVerdict::AcceptH1 ? "принята H1 (elo1 или больше)"
                              : Sprt.Verdict == TSprtVerdict::AcceptH0 ? "принята H0 (elo0 или меньше)"
                                                                       : "не решено";
        Lines.push_back("SPRT elo0 = " + FixedText(Config.Sprt->Elo0, 1, Separator) +
                        ", elo1 = " + FixedText(Config.Sprt->Elo1, 1, Separator) + ": LLR " +
                        FixedText(Sprt.Llr, 2, Separator) + " (границы " +
                        FixedText(Sprt.LowerBound, 2, Separator) + " и " +
                        FixedText(Sprt.UpperBound, 2, Separator) + "), " + Verdict);
    }
    return Lines;
}

TTextTable Standings(const TTournamentSummary &Summary) {
    const std::string &Separator = Summary.DecimalSeparator;
    TTextTable Table{
        {"Место", "Бот", "Игр", "Побед", "Ничьих", "Поражений", "Очков", "Результат, %", "Elo ± 95 %"}, {}};
    int64_t Place = 0;
    for (const TStanding &S : Summary.Statistics.Standings)
        Table.Rows.push_back({Count(++Place), Summary.Names[static_cast<std::size_t>(S.Bot)], Count(S.Games),
                              Count(S.Wins), Count(S.Draws), Count(S.Losses), std::to_string(S.Points),
                              S.Games > 0 ? PercentOf(S.Score, Separator) : "—",
                              RatingText(S.Rating, Separator)});
    return Table;
}

TTextTable Crosstable(const TTournamentSummary &Summary) {
    const std::size_t Bots = Summary.Names.size();
    TTextTable Table{{"Очки: строка против столбца"}, {}};
    for (const TStanding &S : Summary.Statistics.Standings)
        Table.Header.push_back(Summary.Names[static_cast<std::size_t>(S.Bot)]);
    std::vector<std::string> Cells(Bots * Bots);
    for (std::size_t Bot = 0; Bot < Bots; ++Bot) Cells[Bot * Bots + Bot] = "·";
    for (const TEncounterStatistics &E : Summary.Statistics.Encounters) {
        const auto A = static_cast<std::size_t>(E.A), B = static_cast<std::size_t>(E.B);
        Cells[A * Bots + B] = PointsText(E.WinsA, E.Draws, E.Games, Summary.DecimalSeparator);
        Cells[B * Bots + A] = PointsText(E.WinsB, E.Draws, E.Games, Summary.DecimalSeparator);
    }
    for (const TStanding &Row : Summary.Statistics.Standings) {
        std::vector<std::string> Line{Summary.Names[static_cast<std::size_t>(Row.Bot)]};
        for (const TStanding &Column : Summary.Statistics.Standings)
            Line.push_back(
                Cells[static_cast<std::size_t>(Row.Bot) * Bots + static_cast<std::size_t>(Column.Bot)]);
        Table.Rows.push_back(std::move(Line));
    }
    return Table;
}

TTextTable Encounters(const TTournamentSummary &Summary) {
    const std::string &Separator = Summary.DecimalSeparator;
    TTextTable Table{{"Встреча", "Игр", "+", "=", "−", "Результат, %", "Различных пар", "Elo первого",
                      "95 % интервал", "LOS, %"},
                     {}};
    for (const TEncounterStatistics &E : Summary.Statistics.Encounters) {
        std::string Elo = "—", Interval = "—", Los = "—";
        if (E.Deterministic && E.Positions == 1) {
            Elo = "не оценивается: все " + CountText(E.Pairs, PairsWord) + " одинаковы";
        } else if (E.Elo.Known) {
            Elo = SignedElo(E.Elo.Elo, Separator);
            Interval = SignedElo(E.Elo.Lower, Separator) + " … " + SignedElo(E.Elo.Upper, Separator);
            Los = PercentOf(E.Elo.Los, Separator);
        }
        const double Score = E.Games > 0
                                 ? (static_cast<double>(E.WinsA) + 0.5 * static_cast<double>(E.Draws)) /
                                       static_cast<double>(E.Games)
                                 : 0;
        Table.Rows.push_back({Summary.Names[static_cast<std::size_t>(E.A)] + " — " +
                                  Summary.Names[static_cast<std::size_t>(E.B)],
                              Count(E.Games), Count(E.WinsA), Count(E.Draws), Count(E.WinsB),
                              E.Games > 0 ? PercentOf(Score, Separator) : "—",
                              Count(E.DistinctPairs) + " из " + Count(E.Pairs), Elo, Interval, Los});
    }
    return Table;
}

TTextTable ThinkingTime(const TTournamentSummary &Summary) {
    const std::string &Separator = Summary.DecimalSeparator;
    TTextTable Table{{"Бот", "Ходов", "Среднее, мс", "95-й процентиль, мс", "Максимум, мс"}, {}};
    for (const TStanding &S : Summary.Statistics.Standings) {
        const TMoveTimeHistogram &Times = Summary.Results->Bots()[static_cast<std::size_t>(S.Bot)].MoveTimes;
        const bool Timed = Times.Count() > 0;
        Table.Rows.push_back({Summary.Names[static_cast<std::size_t>(S.Bot)], Count(Times.Count()),
                              Timed ? FixedText(Times.Mean(), 2, Separator) : "—",
                              Timed ? FixedText(Times.Quantile(0.95), 2, Separator) : "—",
                              Timed ? FixedText(Times.Max(), 2, Separator) : "—"});
    }
    return Table;
}

TTextTable Endings(const TTournamentSummary &Summary) {
    const std::vector<TBotResults> &Bots = Summary.Results->Bots();
    // Only the ways games were lost that occurred, so that the table stays narrow.
    std::vector<int> Kinds;
    for (int Kind = 1; Kind < TerminationKinds; ++Kind) {
        if (static_cast<TTermination>(Kind) == TTermination::TurnLimit) continue;
        for (const TBotResults &Bot : Bots)
            if (Bot.Lost[static_cast<std::size_t>(Kind)] > 0) {
                Kinds.push_back(Kind);
                break;
            }
    }
    TTextTable Table{{"Бот: проигранные игры"}, {}};
    for (const int Kind : Kinds) Table.Header.push_back(TerminationText(static_cast<TTermination>(Kind)));
    Table.Header.emplace_back("ничьи");
    for (const TStanding &S : Summary.Statistics.Standings) {
        const TBotResults &Bot = Bots[static_cast<std::size_t>(S.Bot)];
        std::vector<std::string> Line{Summary.Names[static_cast<std::size_t>(S.Bot)]};
        for (const int Kind : Kinds) Line.push_back(Count(Bot.Lost[static_cast<std::size_t>(Kind)]));
        Line.push_back(Count(Bot.Draws));
        Table.Rows.push_back(std::move(Line));
    }
    return Table;
}

}  // namespace

TTournamentText TournamentText(const TTournamentSummary &Summary) {
    return {.Headline = Headline(Summary),
            .Notes = Notes(Summary),
            .Standings = Standings(Summary),
            .Crosstable = Crosstable(Summary),
            .Encounters = Encounters(Summary),
            .ThinkingTime = ThinkingTime(Summary),
            .Endings = Endings(Summary)};
}

}  // namespace velkaran
