// The bots of a new tournament: the ones named, or every usable bot of the folder, each probed in
// a worker for its name and fingerprinted.
#pragma once

#include "command_line.h"

#include "tournament/tournament_config.h"
#include "workers/worker_pool.h"

#include <optional>
#include <string>

namespace velkaran {

// The configuration of a new tournament from Command: its bots probed through Pool (a named bot
// that is unusable stops everything; an unusable library found in the folder is left out, with a
// line on stderr), the gauntlet bot among them (added when it is not), its start positions read
// or made (and written out when asked). Nothing, after a message on stderr, when the tournament
// cannot be played.
std::optional<TTournamentConfig> NewTournamentConfig(const TTournamentCommand &Command, TBotWorkerPool &Pool);

// The sandbox a tournament's workers run in.
struct TTournamentSandbox {
    bool On = false;
    bool Strict = false;  // only with every layer
    std::string User;     // as root: the user bots run as; empty: nobody
};

// How a tournament's workers start: the memory cap, the sandbox, and where the bots' output goes
// (a folder, or stderr through one relay that all the runner's threads share).
TWorkerPoolSettings TournamentWorkers(long long MemoryMb, const TTournamentSandbox &Sandbox,
                                      const std::string &OutputFolder);

// Names on stderr each layer of the sandbox that is missing here; false when the run must not
// start (a strict sandbox lacks a layer, or the user to run bots as does not exist).
bool SandboxMayStart(const TTournamentSandbox &Sandbox);

// Checks that the libraries of Config are in Folder as they were when it began: each there, with
// the same content. Empty when they are; else what differs.
std::string ChangedLibraries(const TTournamentConfig &Config, const std::string &Folder);

}  // namespace velkaran
