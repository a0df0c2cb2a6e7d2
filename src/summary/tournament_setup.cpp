#include "tournament_setup.h"

#include "texts/plural.h"

#include "match/match_runner.h"
#include "records/opening_book.h"

#include <cmath>

namespace velkaran {

std::string TournamentChoiceProblem(const TTournamentChoice &Choice) {
    int64_t Ticked = 0;
    for (std::size_t Bot = 0; Bot < Choice.Bots.size() && Bot < Choice.Chosen.size(); ++Bot)
        Ticked += Choice.Chosen[Bot] ? 1 : 0;
    if (Ticked < 2) return "Отметьте хотя бы двух ботов.";
    if (Ticked > MaxBots) return "Ботов не больше " + std::to_string(MaxBots) + ".";
    if (Choice.Gauntlet &&
        (Choice.GauntletBot < 0 || static_cast<std::size_t>(Choice.GauntletBot) >= Choice.Chosen.size() ||
         !Choice.Chosen[static_cast<std::size_t>(Choice.GauntletBot)]))
        return "Бот, который играет со всеми, должен быть среди отмеченных.";
    if (Choice.Pairs < 1 || Choice.Pairs > MaxPairs)
        return "Число пар игр — от 1 до " + std::to_string(MaxPairs) + ".";
    if (Choice.TurnLimit < MinTurnLimit || Choice.TurnLimit > MaxTurnLimit)
        return "Максимум ходов — от " + std::to_string(MinTurnLimit) + " до " + std::to_string(MaxTurnLimit) +
               ".";
    if (Choice.MoveLimitMs < MinMoveLimitMs || Choice.MoveLimitMs > MaxMoveLimitMs)
        return "Время на ход — от " + std::to_string(MinMoveLimitMs) + " до " +
               std::to_string(MaxMoveLimitMs) + " мс.";
    if (Choice.StartPositions < 0 || Choice.StartPositions > MaxOpenings)
        return "Начальных позиций — от 0 до " + std::to_string(MaxOpenings) + ".";
    return {};
}

std::optional<TTournamentConfig> ChosenTournament(const TTournamentChoice &Choice, std::string &Error) {
    Error = TournamentChoiceProblem(Choice);
    if (!Error.empty()) return std::nullopt;
    TTournamentConfig Config;
    for (std::size_t Bot = 0; Bot < Choice.Bots.size() && Bot < Choice.Chosen.size(); ++Bot) {
        if (!Choice.Chosen[Bot]) continue;
        if (Choice.Gauntlet && static_cast<int32_t>(Bot) == Choice.GauntletBot)
            Config.Gauntlet = static_cast<int32_t>(Config.Bots.size());
        Config.Bots.push_back(Choice.Bots[Bot]);
    }
    Config.Format = Choice.Gauntlet ? TTournamentFormat::Gauntlet : TTournamentFormat::RoundRobin;
    Config.Pairs = Choice.Pairs;
    Config.TurnLimit = Choice.TurnLimit;
    Config.MoveLimitMs = Choice.MoveLimitMs;
    if (Choice.StartPositions > 0) {
        std::string Why;
        const std::optional<TOpeningBook> Book =
            LoadOpenings("random:" + std::to_string(Choice.StartPositions), 1, Why);
        if (!Book) {
            Error = "начальные позиции не созданы: " + Why;
            return std::nullopt;
        }
        Config.Openings = *Book;
    }
    if (const std::string Problem = ConfigProblem(Config); !Problem.empty()) {
        Error = "турнир не может быть сыгран: " + Problem;
        return std::nullopt;
    }
    return Config;
}

std::string TournamentProgressText(int64_t GamesDone, int64_t GamesTotal, double Seconds, bool Stopping,
                                   bool Finished) {
    const auto Whole = static_cast<int64_t>(std::max(0.0, std::floor(Seconds)));
    const std::string Time =
        std::to_string(Whole / 60) + ":" + (Whole % 60 < 10 ? "0" : "") + std::to_string(Whole % 60);
    std::string Text =
        "Сыграно " + std::to_string(GamesDone) + " из " + CountText(GamesTotal, OfGamesWord) + " за " + Time;
    if (Finished) return Text + (GamesDone < GamesTotal ? "; турнир остановлен" : "; турнир окончен");
    if (Stopping) return Text + "; турнир останавливается…";
    return Text;
}

}  // namespace velkaran
