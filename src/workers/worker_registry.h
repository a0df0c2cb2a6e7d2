// Every worker group the host has running, so that a signal that ends the host can end them too.
#pragma once

#include <sys/types.h>

namespace velkaran {

// Notes a worker's process group; the group id is the worker's pid.
void RegisterWorkerGroup(pid_t Group);

// Forgets a group once its worker has been reaped.
void UnregisterWorkerGroup(pid_t Group);

// Kills every noted group with SIGKILL. Async-signal-safe: for a handler of SIGINT or SIGTERM.
void KillAllWorkerGroups();

// Makes this process the reaper of its orphaned descendants: a bot's child that left its worker's
// process group (setsid) comes to this process when its worker ends, so that EndAdoptedChildren
// can end it. Call once at the start of a program that runs workers.
void AdoptOrphanedDescendants();

// Kills and reaps every child of this process that is not a registered worker: the descendants of
// ended workers that escaped their group. Call at the end of a run, after the workers have ended.
void EndAdoptedChildren();

// Installs handlers for SIGINT, SIGTERM and SIGHUP that kill every worker group and then end the
// program as the signal would have (a program without handlers of its own for them).
void EndWorkersOnTerminationSignals();

}  // namespace velkaran
