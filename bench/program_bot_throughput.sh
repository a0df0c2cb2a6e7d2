#!/usr/bin/env bash
# Bots that are programs: velkaran-match plays greedy against itself as the line-protocol C example
# (greedy-line.bot), as the Python example (greedy-py.bot) and as the sample plug-in through its
# workers (greedy.so), the runs taking turns; prints the games per second of each (median of five
# runs) and each program's rate as a ratio of the plug-in's measured in the same run. Targets:
# >= 5000 games/s for the C program, >= 300 for the Python one.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runner="$build/bin/velkaran-match"
runs=5
for file in "$runner" "$build/run/greedy.so" "$build/examples/c-line-bot/greedy_line" \
            "$build/examples/python-bot/greedy.py"; do
  [[ -e "$file" ]] || { echo "program_bot_throughput: $file is missing; build first" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/velkaran-program-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$build/run/greedy.so" "$build/examples/c-line-bot/"{greedy_line,greedy-line.bot} \
   "$build/examples/python-bot/"{greedy.py,greedy-py.bot,velkaran_bot.py} "$work/"
cd "$work"
# rate GAMES BOT: games per second of a series of GAMES + GAMES games of BOT against itself.
rate() {
  local start end
  start=$(date +%s%N)
  "$runner" --stop-on-fault --games "$1" "$2" "$2" >/dev/null || { echo "failed"; return; }
  end=$(date +%s%N)
  awk -v n=$((2 * $1)) -v ns=$((end - start)) 'BEGIN { printf "%.0f", n / (ns / 1e9) }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
plugin=()
line=()
python=()
for ((i = 0; i < runs; i++)); do
  plugin+=("$(rate 5000 greedy.so)")
  line+=("$(rate 5000 greedy-line.bot)")
  python+=("$(rate 500 greedy-py.bot)")
done
if [[ " ${plugin[*]} ${line[*]} ${python[*]} " == *" failed "* ]]; then
  echo "program_bot_throughput: a series failed (see its message above)" >&2
  exit 1
fi
p=$(median "${plugin[@]}")
l=$(median "${line[@]}")
y=$(median "${python[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo "program_bot_throughput: greedy against itself, games per second (median of $runs runs)"
echo "program_bot_throughput: plug-in through workers runs: ${plugin[*]}; median $p"
echo "program_bot_throughput: line-protocol C program runs: ${line[*]}; median $l = $(ratio "$l" "$p") of the plug-in (target >= 5000)"
echo "program_bot_throughput: Python program         runs: ${python[*]}; median $y = $(ratio "$y" "$p") of the plug-in (target >= 300)"
