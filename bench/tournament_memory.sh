#!/usr/bin/env bash
# A tournament's memory does not grow with its size: a round robin of 18 bots (copies of passive)
# with --pairs 10 and with --pairs 1000000000, each stopped by SIGINT after two seconds of play.
# Prints each run's peak memory, their ratio (target: at most 1.1, and under 50 MB), and how long
# each took from the signal to its end (target: under 0.5 s).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
tournament="$build/bin/velkaran-tournament"
if [[ ! -x "$tournament" || ! -f "$build/run/passive.so" ]]; then
  echo "tournament_memory: $tournament or the sample bots are missing; build first" >&2
  exit 1
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for bot in $(seq 1 18); do cp "$build/run/passive.so" "$folder/passive$bot.so"; done
cd "$folder"

# Sets peak (KB) and stop (s) for a run with --pairs $1.
run() {
  /usr/bin/time -f "%M" -o "$folder/peak" "$tournament" --pairs "$1" --concurrency 1 --json "$folder/t.json" \
    --force >/dev/null 2>&1 &
  local timer=$! child="" start end
  while [[ -z $child ]]; do child=$(pgrep -P "$timer" || true); done
  sleep 2
  start=$(date +%s%N)
  kill -INT "$child" 2>/dev/null || true
  wait "$timer" || true
  end=$(date +%s%N)
  peak=$(tail -1 "$folder/peak")
  stop=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
}
run 10
small_peak=$peak small_stop=$stop
run 1000000000
echo "tournament_memory: --pairs 10: peak $small_peak KB, stopped in $small_stop s"
echo "tournament_memory: --pairs 1000000000 (306,000,000,000 games): peak $peak KB, stopped in $stop s"
awk -v a="$peak" -v b="$small_peak" 'BEGIN { printf "tournament_memory: ratio %.2f (target <= 1.1, and under 51200 KB)\n", a / b }'
