// The hypotheses and error rates of a sequential test, and their command-line form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkaran {

// The scale Elo0 and Elo1 are given on: logistic Elo (the expected score), or normalized Elo
// (the score's distance from 1/2 in standard deviations of a game, scaled so that both agree for
// games without draws).
enum class TEloModel { Logistic, Normalized };

// "logistic" or "normalized".
const char *EloModelName(TEloModel Model);
// The model called Name; nothing for another name.
std::optional<TEloModel> EloModelNamed(std::string_view Name);

// H0: the Elo difference is Elo0; H1: it is Elo1, both on Model's scale. Alpha and Beta are the
// false-positive and false-negative rates the test keeps to.
struct TSprtSettings {
    double Elo0 = 0, Elo1 = 0;
    double Alpha = 0.05, Beta = 0.05;
    TEloModel Model = TEloModel::Logistic;
};

// Elo0 and Elo1 must lie in [-LargestSprtElo, LargestSprtElo], where scores are still far from 0 and 1.
inline constexpr double LargestSprtElo = 1000;

// Why Settings cannot be tested (an English sentence), or an empty text when they can:
// Elo0 < Elo1 within +-LargestSprtElo, 0 < Alpha < 0.5 and 0 < Beta < 0.5.
std::string SprtSettingsError(const TSprtSettings &Settings);

// Settings from text such as "elo0=0 elo1=10 alpha=0.05 beta=0.05 model=normalized": blank-separated
// key=value words in any order, alpha and beta optional (0.05), model optional (logistic). On
// failure returns nothing and explains in Error.
std::optional<TSprtSettings> ParseSprtSettings(std::string_view Text, std::string &Error);

}  // namespace velkaran
