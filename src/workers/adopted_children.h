// The bots' children that escape their worker: adopted by the host, and ended by it.
#pragma once

namespace velkaran {

// Makes this process the reaper of its orphaned descendants: a bot's child that left its
// worker's process group (setsid) comes to this process when its parent ends, so that
// EndAdoptedChildren can end it. Call once at the start of a program that runs workers.
void AdoptOrphanedDescendants();

// Kills and reaps every child this process adopted: a child in a session other than the
// process's own that is no running worker (every bot's descendant is in its worker's session or
// one of its own). Waits at most half a second. Does nothing in a process that does not adopt
// orphans. Call after a run, once its workers have ended.
void EndAdoptedChildren();

}  // namespace velkaran
