// Finding, probing and fingerprinting the bots of a tournament.
#include "tournament_bots.h"

#include "players/bot_discovery.h"
#include "sandbox/sandbox_layers.h"

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
    return TTournamentBot{Argument, Load.Bot.Name, FileFingerprint(BotPath(Argument))};
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

TWorkerPoolSettings TournamentWorkers(long long MemoryMb, const TTournamentSandbox &Sandbox,
                                      const std::string &OutputFolder) {
    TWorkerPoolSettings Settings;
    Settings.Worker.MemoryMb = MemoryMb;
    Settings.Worker.Sandbox = Sandbox.On;
    Settings.Worker.SandboxStrict = Sandbox.Strict;
    Settings.Worker.SandboxUser = Sandbox.User;
    Settings.OutputFolder = OutputFolder;
    if (OutputFolder.empty()) Settings.Relay = std::make_shared<TOutputRelay>();
    return Settings;
}

bool SandboxMayStart(const TTournamentSandbox &Sandbox) {
    if (!Sandbox.On) return true;
    const TSandboxStart Start = CheckSandboxStart(Sandbox.Strict, Sandbox.User);
    for (const std::string &Line : Start.Lines) Complain(Line);
    return !Start.Refused;
}

std::string ChangedLibraries(const TTournamentConfig &Config, const std::string &Folder) {
    for (const TTournamentBot &Bot : Config.Bots) {
        const std::string Path = (std::filesystem::path(Folder) / Bot.File).string();
        const std::string Fingerprint = FileFingerprint(Path);
        if (Fingerprint.empty()) return "the bot library " + Bot.File + " is not in " + Folder;
        if (Fingerprint != Bot.Fingerprint)
            return "the bot library " + Bot.File + " has changed since the tournament began";
    }
    return "";
}

}  // namespace velkaran
