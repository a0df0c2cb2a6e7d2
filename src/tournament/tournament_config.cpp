// Checking a tournament's configuration, and its JSON form.
#include "tournament_config.h"

#include "match/match_runner.h"
#include "records/bot_names.h"

namespace velkaran {

std::string ConfigProblem(const TTournamentConfig &Config) {
    const auto Bots = static_cast<int64_t>(Config.Bots.size());
    if (Bots < 2) return "a tournament needs at least two bots";
    if (Bots > MaxBots)
        return "a tournament holds at most " + std::to_string(MaxBots) + " bots, not " + std::to_string(Bots);
    if (Config.Format == TTournamentFormat::Gauntlet && (Config.Gauntlet < 0 || Config.Gauntlet >= Bots))
        return "the gauntlet bot is not one of the bots";
    if (Config.Pairs < 1 || Config.Pairs > MaxPairs)
        return "the number of game pairs must be between 1 and " + std::to_string(MaxPairs);
    if (Config.TurnLimit < MinTurnLimit || Config.TurnLimit > MaxTurnLimit)
        return "the turn limit must be between " + std::to_string(MinTurnLimit) + " and " +
               std::to_string(MaxTurnLimit);
    if (Config.MoveLimitMs < MinMoveLimitMs || Config.MoveLimitMs > MaxMoveLimitMs)
        return "the move limit must be between " + std::to_string(MinMoveLimitMs) + " and " +
               std::to_string(MaxMoveLimitMs) + " ms";
    if (Config.Sprt && Bots != 2) return "an SPRT compares exactly two bots";
    if (Config.Sprt) return SprtSettingsError(*Config.Sprt);
    return "";
}

int32_t GameOptions(const TTournamentConfig &Config) {
    return BotsOnly | HiddenInformation | (Config.TurnLimit & TurnLimitMask);
}

nlohmann::json ConfigToJson(const TTournamentConfig &Config) {
    nlohmann::json Bots = nlohmann::json::array();
    const std::vector<std::string> Shown = ShownBotNames(Config.Bots);
    for (std::size_t I = 0; I < Config.Bots.size(); ++I) {
        const TTournamentBot &Bot = Config.Bots[I];
        Bots.push_back(
            {{"file", Bot.File}, {"name", Bot.Name}, {"label", Shown[I]}, {"fingerprint", Bot.Fingerprint}});
    }
    nlohmann::json Json{{"bots", Bots},
                        {"format", Config.Format == TTournamentFormat::Gauntlet ? "gauntlet" : "round robin"},
                        {"pairs", Config.Pairs},
                        {"turn_limit", Config.TurnLimit}};
    if (Config.Format == TTournamentFormat::Gauntlet) Json["gauntlet"] = Config.Gauntlet;
    if (Config.MoveLimitMs != DefaultMoveLimitMs) Json["move_limit_ms"] = Config.MoveLimitMs;
    if (!Config.Openings.Empty()) Json["openings"] = OpeningBookToJson(Config.Openings);
    if (Config.Sprt) {
        Json["sprt"] = {{"elo0", Config.Sprt->Elo0},
                        {"elo1", Config.Sprt->Elo1},
                        {"alpha", Config.Sprt->Alpha},
                        {"beta", Config.Sprt->Beta}};
        if (Config.Sprt->Model != TEloModel::Logistic)
            Json["sprt"]["model"] = EloModelName(Config.Sprt->Model);
    }
    return Json;
}

std::optional<TTournamentConfig> ConfigFromJson(const nlohmann::json &Json, std::string &Error) {
    try {
        TTournamentConfig Config;
        for (const nlohmann::json &Bot : Json.at("bots"))
            Config.Bots.push_back({Bot.at("file").get<std::string>(), Bot.at("name").get<std::string>(),
                                   Bot.at("fingerprint").get<std::string>()});
        const std::string Format = Json.at("format").get<std::string>();
        if (Format != "round robin" && Format != "gauntlet") throw std::invalid_argument("an unknown format");
        Config.Format = Format == "gauntlet" ? TTournamentFormat::Gauntlet : TTournamentFormat::RoundRobin;
        if (Config.Format == TTournamentFormat::Gauntlet)
            Config.Gauntlet = Json.at("gauntlet").get<int32_t>();
        Config.Pairs = Json.at("pairs").get<int64_t>();
        Config.TurnLimit = Json.at("turn_limit").get<int32_t>();
        if (Json.contains("move_limit_ms")) Config.MoveLimitMs = Json.at("move_limit_ms").get<int32_t>();
        if (Json.contains("openings")) {
            std::optional<TOpeningBook> Book = OpeningBookFromJson(Json.at("openings"), Error);
            if (!Book) {
                Error = "the configuration is damaged: " + Error;
                return std::nullopt;
            }
            Config.Openings = std::move(*Book);
        }
        if (Json.contains("sprt")) {
            const nlohmann::json &Sprt = Json.at("sprt");
            Config.Sprt = TSprtSettings{Sprt.at("elo0").get<double>(), Sprt.at("elo1").get<double>(),
                                        Sprt.at("alpha").get<double>(), Sprt.at("beta").get<double>()};
            if (Sprt.contains("model")) {
                const std::optional<TEloModel> Model = EloModelNamed(Sprt.at("model").get<std::string>());
                if (!Model) throw std::invalid_argument("an unknown Elo model");
                Config.Sprt->Model = *Model;
            }
        }
        if (std::string Problem = ConfigProblem(Config); !Problem.empty()) {
            Error = "the configuration is not playable: " + Problem;
            return std::nullopt;
        }
        return Config;
    } catch (const std::exception &Bad) {
        Error = std::string("the configuration is damaged: ") + Bad.what();
        return std::nullopt;
    }
}

std::vector<std::string> ShownBotNames(const std::vector<TTournamentBot> &Bots) {
    std::vector<TBotNaming> Naming;
    for (const TTournamentBot &Bot : Bots) Naming.push_back({Bot.Name, Bot.File});
    return DistinctNames(Naming);
}

}  // namespace velkaran
