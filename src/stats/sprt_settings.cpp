// Checking and reading the settings of a sequential test.
#include "sprt_settings.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace velkaran {

namespace {

// The number that is the whole of Text (plain decimal or exponent form), if it is one and finite.
std::optional<double> ParseNumber(std::string_view Text) {
    if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
    double Value = 0;
    const auto [End, Status] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Text.empty() || Status != std::errc() || End != Text.data() + Text.size() || !std::isfinite(Value))
        return std::nullopt;
    return Value;
}

bool IsBlank(char Character) { return Character == ' ' || Character == '\t'; }

}  // namespace

const char *EloModelName(TEloModel Model) {
    return Model == TEloModel::Normalized ? "normalized" : "logistic";
}

std::optional<TEloModel> EloModelNamed(std::string_view Name) {
    for (const TEloModel Model : {TEloModel::Logistic, TEloModel::Normalized})
        if (Name == EloModelName(Model)) return Model;
    return std::nullopt;
}

std::string SprtSettingsError(const TSprtSettings &Settings) {
    const auto InRange = [](double Elo) { return std::fabs(Elo) <= LargestSprtElo; };
    if (!InRange(Settings.Elo0) || !InRange(Settings.Elo1))
        return "elo0 and elo1 must lie between -1000 and 1000.";
    if (!(Settings.Elo0 < Settings.Elo1)) return "elo0 must be smaller than elo1.";
    if (!(Settings.Alpha > 0 && Settings.Alpha < 0.5)) return "alpha must lie strictly between 0 and 0.5.";
    if (!(Settings.Beta > 0 && Settings.Beta < 0.5)) return "beta must lie strictly between 0 and 0.5.";
    return {};
}

std::optional<TSprtSettings> ParseSprtSettings(std::string_view Text, std::string &Error) {
    TSprtSettings Settings;
    bool HasElo0 = false, HasElo1 = false, HasAlpha = false, HasBeta = false, HasModel = false;
    std::size_t Position = 0;
    while (true) {
        while (Position < Text.size() && IsBlank(Text[Position])) ++Position;
        if (Position == Text.size()) break;
        std::size_t End = Position;
        while (End < Text.size() && !IsBlank(Text[End])) ++End;
        const std::string_view Word = Text.substr(Position, End - Position);
        Position = End;

        const std::size_t Equals = Word.find('=');
        if (Equals == std::string_view::npos) {
            Error = "\"" + std::string(Word) + "\" is not of the form key=value.";
            return std::nullopt;
        }
        const std::string_view Key = Word.substr(0, Equals);
        if (Key == "model") {
            if (HasModel) {
                Error = "The key model is given twice.";
                return std::nullopt;
            }
            const std::optional<TEloModel> Model = EloModelNamed(Word.substr(Equals + 1));
            if (!Model) {
                Error = "The model is logistic or normalized, not \"" + std::string(Word.substr(Equals + 1)) +
                        "\".";
                return std::nullopt;
            }
            Settings.Model = *Model;
            HasModel = true;
            continue;
        }
        const std::optional<double> Value = ParseNumber(Word.substr(Equals + 1));
        struct TField {
            std::string_view Name;
            double *Target;
            bool *Seen;
        };
        const TField Fields[] = {{"elo0", &Settings.Elo0, &HasElo0},
                                 {"elo1", &Settings.Elo1, &HasElo1},
                                 {"alpha", &Settings.Alpha, &HasAlpha},
                                 {"beta", &Settings.Beta, &HasBeta}};
        const TField *Field = nullptr;
        for (const TField &Candidate : Fields)
            if (Candidate.Name == Key) Field = &Candidate;
        if (Field == nullptr) {
            Error =
                "Unknown key \"" + std::string(Key) + "\": the keys are elo0, elo1, alpha, beta and model.";
            return std::nullopt;
        }
        if (*Field->Seen) {
            Error = "The key " + std::string(Key) + " is given twice.";
            return std::nullopt;
        }
        if (!Value) {
            Error = "The value of " + std::string(Key) + " is not a finite number.";
            return std::nullopt;
        }
        *Field->Target = *Value;
        *Field->Seen = true;
    }
    if (!HasElo0 || !HasElo1) {
        Error = HasElo0 ? "elo1 is missing." : (HasElo1 ? "elo0 is missing." : "elo0 and elo1 are missing.");
        return std::nullopt;
    }
    Error = SprtSettingsError(Settings);
    if (!Error.empty()) return std::nullopt;
    return Settings;
}

}  // namespace velkaran
