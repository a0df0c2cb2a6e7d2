// The report's tables, each from the statistics and the counts.
#include "tournament_report.h"

#include "text_table.h"

#include "match/match_runner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velkaran {
namespace {

std::string Fixed(double Value, int Decimals) {
    char Text[64];
    std::snprintf(Text, sizeof Text, "%.*f", Decimals, Value);
    return Text;
}

std::string Percent(double Share) { return Fixed(100 * Share, 1) + "%"; }

// Points of a bot in games: "10.5/20".
std::string PointsText(int64_t Wins, int64_t Draws, int64_t Games) {
    const std::string Whole = std::to_string(Wins + Draws / 2);
    return (Draws % 2 == 0 ? Whole : Whole + ".5") + "/" + std::to_string(Games);
}

std::string RatingText(const TBotRating &Rating) {
    if (!Rating.Rated) return "-";
    if (!std::isfinite(Rating.Lower) || !std::isfinite(Rating.Upper)) return EloText(Rating.Elo);
    return EloText(Rating.Elo) + " ± " + Fixed((Rating.Upper - Rating.Lower) / 2, 0);
}

// Each bot as the tables show it, by its index in the configuration.
using TNames = std::vector<std::string>;

const std::string &NameOf(const TNames &Names, int32_t Bot) { return Names[static_cast<std::size_t>(Bot)]; }

void Append(std::vector<std::string> &Lines, const std::vector<std::string> &More) {
    Lines.insert(Lines.end(), More.begin(), More.end());
}

std::vector<std::string> Standings(const TNames &Names, const TTournamentStatistics &Statistics,
                                   const TTournamentResults &Results) {
    const TTournamentConfig &Config = Results.Config();
    std::string Title =
        std::string(Config.Format == TTournamentFormat::Gauntlet ? "Gauntlet of " : "Round robin of ") +
        std::to_string(Config.Bots.size()) + " bots, " + std::to_string(Config.Pairs) + " game pair" +
        (Config.Pairs == 1 ? "" : "s") + " per encounter: " + std::to_string(Results.GamesDone()) + " of " +
        std::to_string(Results.Schedule().Games()) + " games played";
    TTextTable Table({"Rank", "<Bot", "Games", "Wins", "Draws", "Losses", "Points", "Score", "<Rating"});
    int Rank = 0;
    for (const TStanding &S : Statistics.Standings)
        Table.AddRow({std::to_string(++Rank), NameOf(Names, S.Bot), std::to_string(S.Games),
                      std::to_string(S.Wins), std::to_string(S.Draws), std::to_string(S.Losses),
                      std::to_string(S.Points), Percent(S.Score), RatingText(S.Rating)});
    std::vector<std::string> Lines{Title};
    if (!Config.Openings.Empty())
        Lines.push_back("Start positions: " + std::to_string(Config.Openings.Size()) +
                        (Config.Openings.Seed ? " random of seed " + std::to_string(*Config.Openings.Seed)
                                              : std::string(" from a book")) +
                        ", " + std::to_string(Results.PositionsPlayed()) + " of them played");
    if (Config.MoveLimitMs != DefaultMoveLimitMs)
        Lines.push_back("Move limit: " + std::to_string(Config.MoveLimitMs) + " ms");
    Append(Lines, Table.Lines());
    if (Statistics.RatingsRegularized)
        Lines.push_back(
            "Ratings: some bot won or lost every game it played, so one draw was added between each two "
            "bots that met.");
    return Lines;
}

std::vector<std::string> Crosstable(const TNames &Names, const TTournamentStatistics &Statistics,
                                    const TTournamentResults &) {
    std::vector<std::string> Headers{"<Points: row against column"};
    std::vector<int32_t> Order;
    for (const TStanding &S : Statistics.Standings) {
        Order.push_back(S.Bot);
        Headers.push_back(NameOf(Names, S.Bot));
    }
    // Each cell's text, by row and column bot.
    const std::size_t Bots = Names.size();
    std::vector<std::string> Points(Bots * Bots);
    for (std::size_t Bot = 0; Bot < Bots; ++Bot) Points[Bot * Bots + Bot] = "·";
    for (const TEncounterStatistics &E : Statistics.Encounters) {
        const auto A = static_cast<std::size_t>(E.A), B = static_cast<std::size_t>(E.B);
        Points[A * Bots + B] = PointsText(E.WinsA, E.Draws, E.Games);
        Points[B * Bots + A] = PointsText(E.WinsB, E.Draws, E.Games);
    }
    TTextTable Table(Headers);
    for (const int32_t Row : Order) {
        std::vector<std::string> Cells{NameOf(Names, Row)};
        for (const int32_t Column : Order)
            Cells.push_back(Points[static_cast<std::size_t>(Row) * Bots + static_cast<std::size_t>(Column)]);
        Table.AddRow(Cells);
    }
    return Table.Lines();
}

std::vector<std::string> Encounters(const TNames &Names, const TTournamentStatistics &Statistics,
                                    const TTournamentResults &) {
    TTextTable Table({"<Encounter", "Games", "+", "=", "-", "Score", "Distinct pairs",
                      "<Elo of the first over the second", "<nElo"});
    for (const TEncounterStatistics &E : Statistics.Encounters) {
        std::string Elo = "-";
        std::string Normalized = "-";
        if (E.Deterministic && E.Positions == 1) {
            Elo = EloText(E.Elo.Elo) + " (deterministic: " + std::to_string(E.Pairs) + " identical pairs)";
        } else if (E.Elo.Known) {
            Elo = EloText(E.Elo.Elo) + " [" + EloText(E.Elo.Lower) + ", " + EloText(E.Elo.Upper) + "], LOS " +
                  Percent(E.Elo.Los) + ", draws " + Percent(E.Elo.DrawRatio);
            if (E.Deterministic)
                Elo += " (deterministic: from the " + std::to_string(E.DistinctPairs) + " distinct pairs)";
            if (E.Elo.NormalizedKnown)
                Normalized = EloText(E.Elo.NormalizedElo) + " [" + EloText(E.Elo.NormalizedLower) + ", " +
                             EloText(E.Elo.NormalizedUpper) + "]";
        }
        Table.AddRow({NameOf(Names, E.A) + " - " + NameOf(Names, E.B), std::to_string(E.Games),
                      std::to_string(E.WinsA), std::to_string(E.Draws), std::to_string(E.WinsB),
                      E.Games > 0
                          ? Percent((static_cast<double>(E.WinsA) + 0.5 * static_cast<double>(E.Draws)) /
                                    static_cast<double>(E.Games))
                          : "-",
                      std::to_string(E.DistinctPairs) + "/" + std::to_string(E.Pairs), Elo, Normalized});
    }
    return Table.Lines();
}

std::vector<std::string> ThinkingTime(const TNames &Names, const TTournamentStatistics &Statistics,
                                      const TTournamentResults &Results) {
    TTextTable Table({"<Thinking time per move, ms", "Moves", "Mean", "95%", "Max"});
    for (const TStanding &S : Statistics.Standings) {
        const TMoveTimeHistogram &Times = Results.Bots()[static_cast<std::size_t>(S.Bot)].MoveTimes;
        Table.AddRow({NameOf(Names, S.Bot), std::to_string(Times.Count()), Fixed(Times.Mean(), 3),
                      Fixed(Times.Quantile(0.95), 3), Fixed(Times.Max(), 3)});
    }
    return Table.Lines();
}

std::vector<std::string> Losses(const TNames &Names, const TTournamentStatistics &Statistics,
                                const TTournamentResults &Results) {
    std::vector<std::string> Headers{"<Games lost, by how they ended"};
    for (int Kind = 1; Kind < TerminationKinds; ++Kind)
        if (static_cast<TTermination>(Kind) != TTermination::TurnLimit)
            Headers.emplace_back(TerminationRows[Kind].English);
    Headers.emplace_back("draws");
    TTextTable Table(Headers);
    for (const TStanding &S : Statistics.Standings) {
        const TBotResults &Bot = Results.Bots()[static_cast<std::size_t>(S.Bot)];
        std::vector<std::string> Cells{NameOf(Names, S.Bot)};
        for (int Kind = 1; Kind < TerminationKinds; ++Kind)
            if (static_cast<TTermination>(Kind) != TTermination::TurnLimit)
                Cells.push_back(std::to_string(Bot.Lost[static_cast<std::size_t>(Kind)]));
        Cells.push_back(std::to_string(Bot.Draws));
        Table.AddRow(Cells);
    }
    return Table.Lines();
}

std::vector<std::string> Cards(const TNames &Names, const TTournamentStatistics &Statistics,
                               const TTournamentResults &Results) {
    TTextTable Table({"<Cards played most", "<Card: share of the bot's moves"});
    for (const TStanding &S : Statistics.Standings) {
        const auto &Uses = Results.Bots()[static_cast<std::size_t>(S.Bot)].CardUses;
        std::vector<int32_t> Cards;
        int64_t Plays = 0;
        for (int32_t Card = 1; Card <= CardCount; ++Card) {
            Plays += Uses[static_cast<std::size_t>(Card)];
            if (Uses[static_cast<std::size_t>(Card)] > 0) Cards.push_back(Card);
        }
        std::stable_sort(Cards.begin(), Cards.end(), [&Uses](int32_t X, int32_t Y) {
            return Uses[static_cast<std::size_t>(X)] > Uses[static_cast<std::size_t>(Y)];
        });
        std::string Text;
        for (std::size_t I = 0; I < Cards.size() && I < 5; ++I)
            Text += (I > 0 ? ", " : "") + std::to_string(Cards[I]) + ": " +
                    Percent(static_cast<double>(Uses[static_cast<std::size_t>(Cards[I])]) /
                            static_cast<double>(Plays));
        Table.AddRow({NameOf(Names, S.Bot), Text.empty() ? "-" : Text});
    }
    return Table.Lines();
}

std::string SprtLine(const TSprtState &Sprt, const TSprtSettings &Settings) {
    const char *Verdict = Sprt.Verdict == TSprtVerdict::AcceptH1   ? "H1 accepted (elo1 or better)"
                          : Sprt.Verdict == TSprtVerdict::AcceptH0 ? "H0 accepted (elo0 or worse)"
                                                                   : "undecided";
    return "SPRT elo0=" + Fixed(Settings.Elo0, 1) + " elo1=" + Fixed(Settings.Elo1, 1) +
           " alpha=" + Fixed(Settings.Alpha, 3) + " beta=" + Fixed(Settings.Beta, 3) +
           (Settings.Model == TEloModel::Normalized ? " model=normalized" : "") + ": LLR " +
           Fixed(Sprt.Llr, 2) + " (bounds " + Fixed(Sprt.LowerBound, 2) + ", " + Fixed(Sprt.UpperBound, 2) +
           "), " + Verdict;
}

}  // namespace

std::string EloText(double Elo) {
    if (std::isinf(Elo)) return Elo > 0 ? "+inf" : "-inf";
    const double Rounded = std::round(Elo);
    return (Rounded > 0 ? "+" : "") + Fixed(Rounded == 0 ? 0.0 : Rounded, 0);
}

std::vector<std::string> ReportLines(const TTournamentStatistics &Statistics,
                                     const TTournamentResults &Results) {
    const TNames Names = ShownBotNames(Results.Config().Bots);
    std::vector<std::string> Lines = Standings(Names, Statistics, Results);
    for (const auto &Part : {Crosstable(Names, Statistics, Results), Encounters(Names, Statistics, Results),
                             ThinkingTime(Names, Statistics, Results), Losses(Names, Statistics, Results),
                             Cards(Names, Statistics, Results)}) {
        Lines.emplace_back();
        Append(Lines, Part);
    }
    if (Statistics.Sprt) {
        Lines.emplace_back();
        Lines.push_back(SprtLine(*Statistics.Sprt, *Results.Config().Sprt));
    }
    return Lines;
}

}  // namespace velkaran
