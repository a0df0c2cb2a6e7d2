// Finding, probing and fingerprinting the bots of a tournament.
#include "tournament_bots.h"

#include "players/bot_discovery.h"
#include "workers/adopted_children.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace velkaran {
namespace {

void Complain(const std::string &Message) {
    std::fprintf(stderr, "velkaran-tournament: %s\n", Message.c_str());
}

// The path to load for a bot argument: as given with a '/', else the file in the current folder.
std::string BotPath(const std::string &Argument) {
    return Argument.find('/') != std::string::npos ? Argument : "./" + Argument;
}

// Probes Argument; the bot when usable, else nothing (and, when Required, a message).
std::optional<TTournamentBot> Probe(const std::string &Argument, TBotWorkerPool &Pool, bool Required) {
    const TBotLoad Load = Pool.Probe(BotPath(Argument));
    if (!Load.Bot.Available) {
        Complain((Required ? "cannot use bot \"" : "leaving out \"") + Argument + "\": " + Load.Reason);
        return std::nullopt;
    }
    return TTournamentBot{Argument, Load.Bot.Name, Load.Fingerprint};
}

}  // namespace

std::optional<TTournamentConfig> NewTournamentConfig(const TTournamentCommand &Command,
                                                     TBotWorkerPool &Pool) {
    TTournamentConfig Config;
    Config.Pairs = Command.Pairs;
    Config.TurnLimit = Command.TurnLimit;
    Config.MoveLimitMs = Command.MoveLimitMs;
    Config.Sprt = Command.Sprt;
    if (Command.Openings) {
        std::string Error;
        std::optional<TOpeningBook> Book = LoadOpenings(*Command.Openings, Command.Seed, Error);
        if (!Book) {
            Complain("--openings: " + Error);
            return std::nullopt;
        }
        Config.Openings = std::move(*Book);
    }
    bool Usable = true;
    if (Command.Bots.empty()) {
        for (const std::string &File : LibraryEntries(".")) {
            if (Command.Gauntlet && BotPath(*Command.Gauntlet) == BotPath(File)) continue;
            if (auto Bot = Probe(File, Pool, false)) Config.Bots.push_back(*Bot);
        }
    } else {
        for (const std::string &Argument : Command.Bots) {
            const auto Same = [&Argument](const TTournamentBot &Bot) {
                return BotPath(Bot.File) == BotPath(Argument);
            };
            if (std::any_of(Config.Bots.begin(), Config.Bots.end(), Same)) {
                Complain("the bot \"" + Argument + "\" is named twice");
                return std::nullopt;
            }
            if (auto Bot = Probe(Argument, Pool, true))
                Config.Bots.push_back(*Bot);
            else
                Usable = false;
        }
    }
    if (!Usable) return std::nullopt;
    if (Command.Gauntlet) {
        Config.Format = TTournamentFormat::Gauntlet;
        const auto Same = [&Command](const TTournamentBot &Bot) {
            return BotPath(Bot.File) == BotPath(*Command.Gauntlet);
        };
        const auto Found = std::find_if(Config.Bots.begin(), Config.Bots.end(), Same);
        if (Found != Config.Bots.end()) {
            Config.Gauntlet = static_cast<int32_t>(Found - Config.Bots.begin());
        } else {
            const auto Bot = Probe(*Command.Gauntlet, Pool, true);
            if (!Bot) return std::nullopt;
            Config.Bots.insert(Config.Bots.begin(), *Bot);
            Config.Gauntlet = 0;
        }
    }
    if (const std::string Problem = ConfigProblem(Config); !Problem.empty()) {
        Complain(Problem + (Command.Bots.empty() && Config.Bots.size() < 2
                                ? " (found " + std::to_string(Config.Bots.size()) + " usable here)"
                                : ""));
        return std::nullopt;
    }
    if (std::string Error;
        Command.OpeningsOut && !WriteOpenings(*Command.OpeningsOut, Config.Openings, Error)) {
        Complain("--openings-out: " + Error);
        return std::nullopt;
    }
    return Config;
}

TWorkerPoolSettings TournamentWorkers(long long MemoryMb, bool Sandbox, const std::string &OutputFolder,
                                      double LoadTimeoutSeconds) {
    TWorkerPoolSettings Settings;
    Settings.Worker.MemoryMb = MemoryMb;
    Settings.Worker.Sandbox = Sandbox;
    Settings.LoadTimeoutMs = LoadTimeoutSeconds * 1000;
    Settings.Run = std::make_shared<TWorkerRun>(OutputFolder);
    return Settings;
}

TProbingWatch::TProbingWatch(TWorkerRun &Run)
    : Watch([&Run](int Signal) {
          Run.Stop();
          EndAdoptedChildren();
          EndAsSignal(Signal);
      }) {}

std::string ChangedLibraries(const TTournamentConfig &Config, const std::string &Folder, TWorkerRun &Run) {
    for (const TTournamentBot &Bot : Config.Bots) {
        std::string Path = (std::filesystem::path(Folder) / Bot.File).string();
        if (Path.find('/') == std::string::npos) Path = "./" + Path;
        std::string Error;
        const std::shared_ptr<TPinnedLibrary> Library = Run.Library(Path, Error);
        if (!Library) return "the bot library " + Bot.File + " is not in " + Folder;
        if (Library->Fingerprint() != Bot.Fingerprint)
            return "the bot library " + Bot.File + " has changed since the tournament began";
    }
    return "";
}

}  // namespace velkaran
