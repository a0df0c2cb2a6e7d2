// Finding, probing and fingerprinting the bots of a tournament.
#include "tournament_bots.h"

#include "output_files.h"

#include "players/bot_discovery.h"
#include "sandbox/sandbox_layers.h"
#include "workers/adopted_children.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace velkaran {
namespace {

// The path to load for a bot argument: as given with a '/', else the file in the current folder.
std::string BotPath(const std::string &Argument) {
    return Argument.find('/') != std::string::npos ? Argument : "./" + Argument;
}

// What tells a bot's file apart from every other: its path with every link resolved (as given
// when it cannot be resolved).
std::string FileIdentity(const std::string &Argument) {
    std::error_code Failure;
    const std::filesystem::path Resolved = std::filesystem::canonical(BotPath(Argument), Failure);
    return Failure ? BotPath(Argument) : Resolved.string();
}

// Probes Argument; the bot when usable, else nothing (and, when Required, a message).
std::optional<TTournamentBot> Probe(const std::string &Argument, TBotWorkerPool &Pool, bool Required) {
    const TBotLoad Load = Pool.Probe(BotPath(Argument));
    if (!Load.Bot.Available) {
        // A bot probed while Ctrl-C stops the run is not at fault: the stop has been said.
        if (Pool.Run() && Pool.Run()->Stopped()) return std::nullopt;
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
    // One bot per file, however it is named: a second path to a file (a link, another spelling)
    // adds nothing.
    std::vector<std::string> Identities;
    const auto Known = [&Identities, &Config](const std::string &Argument) -> const TTournamentBot * {
        const auto Found = std::find(Identities.begin(), Identities.end(), FileIdentity(Argument));
        return Found == Identities.end() ? nullptr
                                         : &Config.Bots[static_cast<std::size_t>(Found - Identities.begin())];
    };
    const auto Add = [&](const std::string &Argument, bool Required) {
        if (const TTournamentBot *Same = Known(Argument)) {
            if (Required)
                Complain("\"" + Argument + "\" is the file of \"" + Same->File + "\" again; it plays once");
            return;
        }
        if (auto Bot = Probe(Argument, Pool, Required)) {
            Config.Bots.push_back(*Bot);
            Identities.push_back(FileIdentity(Argument));
        } else if (Required) {
            Usable = false;
        }
    };
    if (Command.Bots.empty()) {
        for (const std::string &File : LibraryEntries("."))
            if (!Command.Gauntlet || FileIdentity(*Command.Gauntlet) != FileIdentity(File)) Add(File, false);
    } else {
        for (const std::string &Argument : Command.Bots) Add(Argument, true);
    }
    if (!Usable) return std::nullopt;
    if (Command.Gauntlet) {
        Config.Format = TTournamentFormat::Gauntlet;
        const std::string Gauntlet = FileIdentity(*Command.Gauntlet);
        const auto Same = [&Gauntlet](const TTournamentBot &Bot) {
            return FileIdentity(Bot.File) == Gauntlet;
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
                                      const std::string &OutputFolder, double LoadTimeoutSeconds) {
    TWorkerPoolSettings Settings;
    Settings.Worker.MemoryMb = MemoryMb;
    Settings.Worker.Sandbox = Sandbox.On;
    Settings.Worker.SandboxStrict = Sandbox.Strict;
    Settings.Worker.SandboxUser = Sandbox.User;
    Settings.LoadTimeoutMs = LoadTimeoutSeconds * 1000;
    Settings.Run = std::make_shared<TWorkerRun>(OutputFolder);
    return Settings;
}

bool SandboxMayStart(const TTournamentSandbox &Sandbox) {
    if (!Sandbox.On) return true;
    const TSandboxStart Start = CheckSandboxStart(Sandbox.Strict, Sandbox.User);
    for (const std::string &Line : Start.Lines) Complain(Line);
    return !Start.Refused;
}

TProbingWatch::TProbingWatch(TWorkerRun &Run)
    : Watch([&Run](int Signal) {
          Complain("stopped while the bots were being probed, before the first game");
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
