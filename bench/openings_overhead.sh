#!/usr/bin/env bash
# What start positions cost: a round robin of four passive copies (6 encounters, 500 pairs each,
# 30 rounds a game, --concurrency 1) played without start positions and with --openings
# random:1000, the two taking turns (seven runs each). Passive bots pass from any position, so
# both play the same number of games, moves and calls, and what differs is the openings' own
# work: making the positions, giving each game its start, checking and counting it. Prints the
# games per second of each run and the processor time (user + system of the program and its
# workers) of each, and the median of the ratios with/without of runs side by side, of both (target:
# at least 0.98 for games per second, at most 1.02 for processor time; on a busy machine the
# processor time is the steadier figure).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
tournament="$build/bin/velkaran-tournament"
if [[ ! -x "$tournament" || ! -f "$build/run/passive.so" ]]; then
  echo "openings_overhead: $tournament or the sample bots are missing; build first" >&2
  exit 1
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for copy in 1 2 3 4; do cp "$build/run/passive.so" "$folder/passive$copy.so"; done
cd "$folder"
pairs=500
games=$((12 * pairs))
runs=7

# "<games per second> <processor seconds>" of one run.
rate() {
  /usr/bin/time -f "%e %U %S" "$tournament" --pairs "$pairs" --turn-limit 30 --concurrency 1 "$@" 2>&1 >/dev/null |
    tail -1 | awk -v n="$games" '{ printf "%.1f %.3f", n / $1, $2 + $3 }'
}
median() { printf '%s\n' "$@" | sort -g | sed -n "$(($# / 2 + 1))p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }
plain=() open=() speed=() cpu=() plain_cpu=() open_cpu=()
for ((i = 0; i < runs; i++)); do
  read -r p pc <<<"$(rate)"
  read -r o oc <<<"$(rate --openings random:1000 --seed 1)"
  plain+=("$p") open+=("$o") plain_cpu+=("$pc") open_cpu+=("$oc")
  speed+=("$(ratio "$o" "$p")") cpu+=("$(ratio "$oc" "$pc")")
done
echo "openings_overhead: $games games of 30 rounds per run"
echo "openings_overhead: standard start: ${plain[*]} games/s (median $(median "${plain[@]}")); processor s ${plain_cpu[*]}"
echo "openings_overhead: random:1000:    ${open[*]} games/s (median $(median "${open[@]}")); processor s ${open_cpu[*]}"
echo "openings_overhead: games/s with/without, run by run: ${speed[*]}; median $(median "${speed[@]}") (target >= 0.98)"
echo "openings_overhead: processor time with/without, run by run: ${cpu[*]}; median $(median "${cpu[@]}") (target <= 1.02)"
