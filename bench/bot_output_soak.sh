#!/usr/bin/env bash
# Well-behaved bots never lose a game to the host: velkaran-tournament --pairs 1 --concurrency 2
# --bot-output DIR with the three sample bots, run RUNS times (default 60), the two runner threads
# starting workers while the relay opens the bots' log files. Counts the runs in which any game
# ended by a fault, and prints the first such fault. Target: 0.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-60}
program="$build/bin/velkaran-tournament"
if [[ ! -x "$program" || ! -f "$build/run/planner.so" ]]; then
  echo "bot_output_soak: $program or the sample bots are missing; build first" >&2
  exit 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$build"/run/{greedy,passive,planner}.so "$scratch"/
mkdir "$scratch/out"
cd "$scratch"
faulty=0
first=""
for ((i = 1; i <= runs; i++)); do
  rm -f t.json
  if ! "$program" --pairs 1 --concurrency 2 --bot-output out --json t.json \
      greedy.so passive.so planner.so >/dev/null 2>err.txt || grep -q '"detail"' t.json; then
    faulty=$((faulty + 1))
    [[ -n "$first" ]] || first=$(grep -o '"detail":"[^"]*"' t.json 2>/dev/null | head -1 || head -1 err.txt)
  fi
done
echo "bot_output_soak: $faulty of $runs runs had a game end by a fault (target: 0)${first:+; first: $first}"
