// The actions around a plan: writing it, playing one shard of it, merging the shards.
#pragma once

#include "command_line.h"

namespace velkaran {

// --plan FILE --shards S: the tournament's bots probed and fingerprinted, the plan written
// atomically; nothing is played. Returns the exit status.
int WritePlan(const TTournamentCommand &Command);

// --shard-count --plan FILE: prints the plan's number of shards.
int PrintShardCount(const TTournamentCommand &Command);

// --run-shard I --plan FILE --out DIR: plays shard I (its bots must be the plan's, byte for byte)
// and writes DIR/shard-I.json atomically, replacing an earlier one.
int RunShard(const TTournamentCommand &Command);

// --merge DIR --plan FILE: counts every shard file of DIR as one tournament, prints the tables
// (saying which shards are missing or failed) and, with --json, writes the tournament's document.
int MergeShards(const TTournamentCommand &Command);

}  // namespace velkaran
