#!/usr/bin/env bash
# What start positions cost: a round robin of two greedy and two passive copies (6 encounters,
# 500 pairs each, --concurrency 1) played with --openings random:1000 and without, the two taking
# turns (five runs each). The games differ between the two (other positions make other games), so
# the cost is compared per move: moves per second of each run (the moves are the report's), their
# medians, and the ratio with/without (target: at least 0.98). Games per second are shown too.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
tournament="$build/bin/velkaran-tournament"
if [[ ! -x "$tournament" || ! -f "$build/run/greedy.so" || ! -f "$build/run/passive.so" ]]; then
  echo "openings_overhead: $tournament or the sample bots are missing; build first" >&2
  exit 1
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for copy in 1 2; do
  cp "$build/run/greedy.so" "$folder/greedy$copy.so"
  cp "$build/run/passive.so" "$folder/passive$copy.so"
done
cd "$folder"
pairs=500
games=$((12 * pairs))

# "<moves/s> <games/s>" of one run: the moves are the sum of the thinking-time table's Moves column.
rate() {
  local start end moves
  start=$(date +%s%N)
  moves=$("$tournament" --pairs "$pairs" --concurrency 1 "$@" |
    awk '/^Thinking time per move/ { on = 1; next } on && NF == 0 { on = 0 } on && $2 ~ /^[0-9]+$/ { m += $2 }
         END { print m }')
  end=$(date +%s%N)
  awk -v m="$moves" -v n="$games" -v ns=$((end - start)) 'BEGIN { printf "%.0f %.0f", m / (ns / 1e9), n / (ns / 1e9) }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
plain_moves=() plain_games=() open_moves=() open_games=()
for ((i = 0; i < 5; i++)); do
  read -r m g <<<"$(rate)"
  plain_moves+=("$m") plain_games+=("$g")
  read -r m g <<<"$(rate --openings random:1000 --seed 1)"
  open_moves+=("$m") open_games+=("$g")
done
pm=$(median "${plain_moves[@]}")
om=$(median "${open_moves[@]}")
echo "openings_overhead: $games games per run"
echo "openings_overhead: standard start: ${plain_moves[*]} moves/s (median $pm); games/s ${plain_games[*]}"
echo "openings_overhead: random:1000:    ${open_moves[*]} moves/s (median $om); games/s ${open_games[*]}"
awk -v a="$om" -v b="$pm" 'BEGIN { printf "openings_overhead: ratio %.3f per move (target >= 0.98)\n", a / b }'
