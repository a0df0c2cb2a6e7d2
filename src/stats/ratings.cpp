// Ratings of a field by maximum likelihood.
//
// Model: the Bradley-Terry model (R. A. Bradley and M. E. Terry, Biometrika 39, 1952) on the logistic
// Elo scale: bot i scores against bot j with probability sigma(b_i - b_j), b = elo ln(10) / 400, a
// draw counting as half a win and half a loss. The log-likelihood is concave; a finite maximum exists
// exactly when every split of the field into two groups has points scored across it in both
// directions (L. R. Ford, American Mathematical Monthly 64, 1957; D. R. Hunter, Annals of Statistics
// 32, 2004). It is found by Newton's method with step halving. The covariance of the centred ratings
// is the pseudo-inverse of the Fisher information I (a weighted graph Laplacian with weights
// n_ij sigma (1 - sigma)), computed as (I + J/m)^-1 - J/m with J the m x m matrix of ones; the 95 %
// interval is elo +- 1.959964 sd.
#include "ratings.h"

#include "elo.h"
#include "score_table.h"

#include <Eigen/Cholesky>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace velkaran {

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

// Elo points per unit of the natural logistic scale.
constexpr double EloPerUnit = 400.0 / std::numbers::ln10;

// ln sigma(X), accurate for large |X|.
double LogSigmoid(double X) { return X >= 0 ? -std::log1p(std::exp(-X)) : X - std::log1p(std::exp(X)); }

double Sigmoid(double X) { return 1.0 / (1.0 + std::exp(-X)); }

double LogLikelihood(const TScoreTable &Table, const VectorXd &Strength) {
    double Sum = 0;
    for (int I = 0; I < Strength.size(); ++I)
        for (int J = 0; J < Strength.size(); ++J)
            if (Table.Points(I, J) > 0) Sum += Table.Points(I, J) * LogSigmoid(Strength(I) - Strength(J));
    return Sum;
}

// The Fisher information (J/m added, so that it is invertible) at Strength and the gradient of the
// log-likelihood there.
void InformationAndGradient(const TScoreTable &Table, const VectorXd &Strength, MatrixXd &Information,
                            VectorXd &Gradient) {
    const auto Size = Strength.size();
    Information = MatrixXd::Constant(Size, Size, 1.0 / static_cast<double>(Size));
    Gradient = VectorXd::Zero(Size);
    for (int I = 0; I < Size; ++I)
        for (int J = 0; J < Size; ++J) {
            if (I == J || Table.Games(I, J) == 0) continue;
            const double Expected = Sigmoid(Strength(I) - Strength(J));
            const double Weight = Table.Games(I, J) * Expected * (1 - Expected);
            Gradient(I) += Table.Points(I, J) - Table.Games(I, J) * Expected;
            Information(I, I) += Weight;
            Information(I, J) -= Weight;
        }
}

// The centred maximum-likelihood strengths (natural units) for a table with a finite maximum.
VectorXd FitStrengths(const TScoreTable &Table) {
    const auto Size = Table.Games.rows();
    VectorXd Strength = VectorXd::Zero(Size);
    MatrixXd Information;
    VectorXd Gradient;
    for (int Iteration = 0; Iteration < 200; ++Iteration) {
        InformationAndGradient(Table, Strength, Information, Gradient);
        const VectorXd Step = Information.llt().solve(Gradient);
        const double Before = LogLikelihood(Table, Strength);
        double Length = 1;
        VectorXd Next = Strength + Step;
        while (LogLikelihood(Table, Next) < Before && Length > 1e-6) {
            Length /= 2;
            Next = Strength + Length * Step;
        }
        Strength = Next.array() - Next.mean();
        if ((Length * Step).cwiseAbs().maxCoeff() < 1e-12) break;
    }
    return Strength;
}

// The first reason why Encounters cannot describe a field of BotCount bots, or an empty text.
std::string InputError(int BotCount, std::span<const TEncounterScore> Encounters) {
    if (BotCount < 0) return "The number of bots is negative.";
    for (const TEncounterScore &Encounter : Encounters) {
        const auto Valid = [&](int Bot) { return Bot >= 0 && Bot < BotCount; };
        if (!Valid(Encounter.First) || !Valid(Encounter.Second))
            return "An encounter names a bot outside 0.." + std::to_string(BotCount - 1) + ".";
        if (Encounter.First == Encounter.Second) return "An encounter sets a bot against itself.";
        if (!(Encounter.PointsFirst >= 0 && Encounter.PointsFirst <= static_cast<double>(Encounter.Games)))
            return "An encounter gives points outside 0 to its number of games.";
    }
    return {};
}

}  // namespace

std::optional<TFieldRatings> EstimateRatings(int BotCount, std::span<const TEncounterScore> Encounters,
                                             std::string &Error) {
    Error = InputError(BotCount, Encounters);
    if (!Error.empty()) return std::nullopt;

    TFieldRatings Result;
    Result.Bots.resize(static_cast<std::size_t>(BotCount));
    std::vector<int> Index(static_cast<std::size_t>(BotCount), -1);  // bot -> row of the rated bots
    std::vector<int> Bot;                                            // row -> bot
    for (const TEncounterScore &Encounter : Encounters)
        for (const int Player : {Encounter.First, Encounter.Second})
            if (Encounter.Games > 0) Result.Bots[static_cast<std::size_t>(Player)].Rated = true;
    for (int Player = 0; Player < BotCount; ++Player)
        if (Result.Bots[static_cast<std::size_t>(Player)].Rated) {
            Index[static_cast<std::size_t>(Player)] = static_cast<int>(Bot.size());
            Bot.push_back(Player);
        }
    const auto Size = static_cast<Eigen::Index>(Bot.size());
    if (Size == 0) return Result;

    TScoreTable Table = ScoreTable(Encounters, Index, static_cast<int>(Size));
    if (!HasFiniteMaximum(Table)) {
        AddVirtualDraws(Table);
        Result.Regularized = true;
    }

    const VectorXd Strength = FitStrengths(Table);
    MatrixXd Information;
    VectorXd Gradient;
    InformationAndGradient(Table, Strength, Information, Gradient);
    const MatrixXd Covariance =
        Information.llt().solve(MatrixXd::Identity(Size, Size)).array() - 1.0 / static_cast<double>(Size);
    for (Eigen::Index Row = 0; Row < Size; ++Row) {
        TBotRating &Rating = Result.Bots[static_cast<std::size_t>(Bot[static_cast<std::size_t>(Row)])];
        const double Spread = Normal95 * std::sqrt(std::max(Covariance(Row, Row), 0.0)) * EloPerUnit;
        Rating.Elo = Strength(Row) * EloPerUnit + 0.0;  // + 0.0: no negative zero
        Rating.Lower = Rating.Elo - Spread;
        Rating.Upper = Rating.Elo + Spread;
    }
    return Result;
}

}  // namespace velkaran
