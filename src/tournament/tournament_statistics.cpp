// Standings with field ratings, the Elo of each encounter, and the SPRT of a two-bot match.
#include "tournament_statistics.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace velkaran {
namespace {

// A number JSON can hold: an infinity becomes null.
nlohmann::json Finite(double Value) {
    return std::isfinite(Value) ? nlohmann::json(Value) : nlohmann::json();
}

std::string VerdictName(TSprtVerdict Verdict) {
    switch (Verdict) {
        case TSprtVerdict::AcceptH0:
            return "H0 accepted";
        case TSprtVerdict::AcceptH1:
            return "H1 accepted";
        case TSprtVerdict::Continue:
            return "undecided";
    }
    return "undecided";
}

}  // namespace

TTournamentStatistics ComputeStatistics(const TTournamentResults &Results) {
    TTournamentStatistics Statistics;
    const std::vector<TEncounter> &Encounters = Results.Schedule().Encounters();
    std::vector<TEncounterScore> Scores;
    for (std::size_t I = 0; I < Encounters.size(); ++I) {
        const TEncounterResults &Counted = Results.Encounters()[I];
        TEncounterStatistics Encounter;
        Encounter.A = Encounters[I].A;
        Encounter.B = Encounters[I].B;
        Encounter.Games = Counted.Tally.Games;
        Encounter.WinsA = Counted.Tally.Players[0].Wins;
        Encounter.WinsB = Counted.Tally.Players[1].Wins;
        Encounter.Draws = Counted.Tally.Draws;
        Encounter.Pairs = static_cast<int64_t>(Pairs(Counted.Pentanomial));
        Encounter.DistinctPairs = Counted.Census.DistinctPairs();
        Encounter.Positions = Counted.Census.Positions();
        Encounter.Deterministic = Counted.Census.Deterministic();
        Encounter.Elo =
            EstimateElo(Encounter.Deterministic ? Counted.DistinctPentanomial : Counted.Pentanomial);
        Statistics.Encounters.push_back(Encounter);
        if (Encounter.Games > 0)
            Scores.push_back(
                {Encounter.A, Encounter.B,
                 static_cast<double>(Encounter.WinsA) + 0.5 * static_cast<double>(Encounter.Draws),
                 static_cast<uint64_t>(Encounter.Games)});
    }

    const auto BotCount = static_cast<int>(Results.Bots().size());
    std::string Error;
    const std::optional<TFieldRatings> Ratings = EstimateRatings(BotCount, Scores, Error);
    if (Ratings) Statistics.RatingsRegularized = Ratings->Regularized;
    for (int32_t Bot = 0; Bot < BotCount; ++Bot) {
        const TBotResults &Counted = Results.Bots()[static_cast<std::size_t>(Bot)];
        TStanding Standing{Bot, Counted.Games, Counted.Wins, Counted.Draws, Counted.Losses, Counted.Points, 0,
                           {}};
        if (Counted.Games > 0)
            Standing.Score = (static_cast<double>(Counted.Wins) + 0.5 * static_cast<double>(Counted.Draws)) /
                             static_cast<double>(Counted.Games);
        if (Ratings) Standing.Rating = Ratings->Bots[static_cast<std::size_t>(Bot)];
        Statistics.Standings.push_back(Standing);
    }
    std::stable_sort(Statistics.Standings.begin(), Statistics.Standings.end(),
                     [](const TStanding &X, const TStanding &Y) {
                         if (X.Rating.Rated != Y.Rating.Rated) return X.Rating.Rated;
                         if (X.Rating.Elo != Y.Rating.Elo) return X.Rating.Elo > Y.Rating.Elo;
                         if (X.Score != Y.Score) return X.Score > Y.Score;
                         return X.Points > Y.Points;
                     });
    if (Results.Config().Sprt && !Results.Encounters().empty())
        Statistics.Sprt = EvaluateSprt(Results.Encounters()[0].Pentanomial, *Results.Config().Sprt);
    return Statistics;
}

nlohmann::json StatisticsToJson(const TTournamentStatistics &Statistics, const TTournamentResults &Results) {
    nlohmann::json Standings = nlohmann::json::array();
    int Rank = 0;
    for (const TStanding &S : Statistics.Standings) {
        const TBotResults &Bot = Results.Bots()[static_cast<std::size_t>(S.Bot)];
        nlohmann::json Lost = nlohmann::json::object();
        for (int Kind = 1; Kind < TerminationKinds; ++Kind)
            if (Bot.Lost[static_cast<std::size_t>(Kind)] > 0)
                Lost[std::string(TerminationRows[Kind].Stored)] = Bot.Lost[static_cast<std::size_t>(Kind)];
        nlohmann::json Cards = nlohmann::json::object();
        for (int32_t Card = 1; Card <= CardCount; ++Card)
            if (Bot.CardUses[static_cast<std::size_t>(Card)] > 0)
                Cards[std::to_string(Card)] = Bot.CardUses[static_cast<std::size_t>(Card)];
        Standings.push_back({{"rank", ++Rank},
                             {"bot", S.Bot},
                             {"games", S.Games},
                             {"wins", S.Wins},
                             {"draws", S.Draws},
                             {"losses", S.Losses},
                             {"points", S.Points},
                             {"score", S.Score},
                             {"rating", S.Rating.Rated ? nlohmann::json{{"elo", S.Rating.Elo},
                                                                        {"lower", Finite(S.Rating.Lower)},
                                                                        {"upper", Finite(S.Rating.Upper)}}
                                                       : nlohmann::json()},
                             {"lost_by", Lost},
                             {"card_uses", Cards}});
    }
    nlohmann::json Encounters = nlohmann::json::array();
    for (const TEncounterStatistics &E : Statistics.Encounters) {
        const TEncounterResults &Counted =
            Results.Encounters()[static_cast<std::size_t>(&E - Statistics.Encounters.data())];
        const TMatchTally &Tally = Counted.Tally;
        const TPentanomial &Pairs = Counted.Pentanomial;
        nlohmann::json Entry{{"a", E.A},
                             {"b", E.B},
                             {"games", E.Games},
                             {"wins_a", E.WinsA},
                             {"draws", E.Draws},
                             {"wins_b", E.WinsB},
                             {"errors_a", Tally.Players[0].Errors},
                             {"errors_b", Tally.Players[1].Errors},
                             {"points_a", Tally.Players[0].Points},
                             {"points_b", Tally.Players[1].Points},
                             {"pairs", E.Pairs},
                             {"distinct_pairs", E.DistinctPairs},
                             {"positions", E.Positions},
                             {"pentanomial",
                              {{"ll", Pairs.LL},
                               {"ld", Pairs.LD},
                               {"wl_dd", Pairs.WLDD},
                               {"dd", Pairs.DD},
                               {"wd", Pairs.WD},
                               {"ww", Pairs.WW}}},
                             {"deterministic", E.Deterministic}};
        if (E.Elo.Known)
            Entry["elo"] = {
                {"score", E.Elo.Score},         {"elo", Finite(E.Elo.Elo)}, {"lower", Finite(E.Elo.Lower)},
                {"upper", Finite(E.Elo.Upper)}, {"los", E.Elo.Los},         {"draw_ratio", E.Elo.DrawRatio}};
        if (E.Elo.NormalizedKnown)
            Entry["elo"]["nelo"] = {{"elo", Finite(E.Elo.NormalizedElo)},
                                    {"lower", Finite(E.Elo.NormalizedLower)},
                                    {"upper", Finite(E.Elo.NormalizedUpper)}};
        Encounters.push_back(Entry);
    }
    nlohmann::json Json{{"standings", Standings},
                        {"ratings_regularized", Statistics.RatingsRegularized},
                        {"encounters", Encounters},
                        {"positions_played", Results.PositionsPlayed()}};
    if (Statistics.Sprt)
        Json["sprt"] = {{"llr", Statistics.Sprt->Llr},
                        {"lower_bound", Statistics.Sprt->LowerBound},
                        {"upper_bound", Statistics.Sprt->UpperBound},
                        {"verdict", VerdictName(Statistics.Sprt->Verdict)}};
    return Json;
}

nlohmann::json ThinkingTimeToJson(const TTournamentResults &Results) {
    nlohmann::json All = nlohmann::json::array();
    for (const TBotResults &Bot : Results.Bots())
        All.push_back({{"moves", Bot.MoveTimes.Count()},
                       {"mean", Bot.MoveTimes.Mean()},
                       {"p95", Bot.MoveTimes.Quantile(0.95)},
                       {"max", Bot.MoveTimes.Max()}});
    return All;
}

}  // namespace velkaran
