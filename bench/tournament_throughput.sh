#!/usr/bin/env bash
# Tournament throughput: a round robin of two greedy and two passive copies (6 encounters), played
# with --concurrency 1 and --concurrency 2 in turn (three runs each); prints the games per second
# of each (medians) and their ratio (target on two cores: at least 1.8), then the peak memory of
# runs of 10,000 and 100,000 games, with and without --json (it should not grow with the games).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
tournament="$build/bin/velkaran-tournament"
if [[ ! -x "$tournament" || ! -f "$build/run/greedy.so" || ! -f "$build/run/passive.so" ]]; then
  echo "tournament_throughput: $tournament or the sample bots are missing; build first" >&2
  exit 1
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for copy in 1 2; do
  cp "$build/run/greedy.so" "$folder/greedy$copy.so"
  cp "$build/run/passive.so" "$folder/passive$copy.so"
done
cd "$folder"

# games/s of one run: "--pairs N" over 6 encounters is 12 N games.
rate() {
  local pairs=$1 start end
  shift
  start=$(date +%s%N)
  "$tournament" --pairs "$pairs" "$@" >/dev/null
  end=$(date +%s%N)
  awk -v n=$((12 * pairs)) -v ns=$((end - start)) 'BEGIN { printf "%.0f", n / (ns / 1e9) }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
one=()
two=()
for ((i = 0; i < 3; i++)); do
  one+=("$(rate 1000 --concurrency 1)")
  two+=("$(rate 1000 --concurrency 2)")
done
m1=$(median "${one[@]}")
m2=$(median "${two[@]}")
echo "tournament_throughput: 12000 games per run"
echo "tournament_throughput: --concurrency 1 runs: ${one[*]} games/s; median $m1"
echo "tournament_throughput: --concurrency 2 runs: ${two[*]} games/s; median $m2"
awk -v a="$m2" -v b="$m1" 'BEGIN { printf "tournament_throughput: ratio %.2f (target >= 1.8)\n", a / b }'

peak() {
  /usr/bin/time -f "%M" "$tournament" --concurrency 2 "$@" 2>&1 >/dev/null | tail -1
}
for games in 10000 100000; do
  pairs=$(((games + 11) / 12))
  echo "tournament_throughput: $((12 * pairs)) games: peak memory $(peak --pairs "$pairs") KB," \
    "with --json $(peak --pairs "$pairs" --json "$folder/t.json") KB"
done
