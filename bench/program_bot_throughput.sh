#!/usr/bin/env bash
# Bots that are programs: velkaran-match plays greedy against itself as the line-protocol C example
# (greedy-line.bot), as the Python example (greedy-py.bot) and as the sample plug-in through its
# workers (greedy.so), the runs taking turns; prints the games per second of each (median of five
# runs) and each program's rate as a ratio of the plug-in's measured in the same run. Targets:
# >= 5000 games/s for the C program, >= 300 for the Python one.
# With --sandbox each program's series is also played under --sandbox, in turn with the others, and
# the sandboxed rate is printed as a ratio of the free one; the runs then use the system's Python
# (/usr/bin first on PATH), which the sandbox's user can run, in both.
# Usage: bench/program_bot_throughput.sh [--sandbox] [BUILD]
set -euo pipefail
sandbox=0
if [[ "${1:-}" == --sandbox ]]; then
  sandbox=1
  shift
  export PATH="/usr/bin:/bin:$PATH"
fi
build=$(cd "${1:-build}" && pwd)
runner="$build/bin/velkaran-match"
runs=5
for file in "$runner" "$build/run/greedy.so" "$build/examples/c-line-bot/greedy_line" \
            "$build/examples/python-bot/greedy.py"; do
  [[ -e "$file" ]] || { echo "program_bot_throughput: $file is missing; build first" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/velkaran-program-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"  # the sandbox's user reads the programs there
cp "$build/run/greedy.so" "$build/examples/c-line-bot/"{greedy_line,greedy-line.bot} \
   "$build/examples/python-bot/"{greedy.py,greedy-py.bot,velkaran_bot.py} "$work/"
cd "$work"
# rate GAMES BOT [OPTION]: games per second of a series of GAMES + GAMES games of BOT against itself.
rate() {
  local start end
  start=$(date +%s%N)
  "$runner" ${3:-} --stop-on-fault --games "$1" "$2" "$2" >/dev/null || { echo "failed"; return; }
  end=$(date +%s%N)
  awk -v n=$((2 * $1)) -v ns=$((end - start)) 'BEGIN { printf "%.0f", n / (ns / 1e9) }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
plugin=()
line=()
python=()
line_sandboxed=()
python_sandboxed=()
for ((i = 0; i < runs; i++)); do
  plugin+=("$(rate 5000 greedy.so)")
  line+=("$(rate 5000 greedy-line.bot)")
  python+=("$(rate 500 greedy-py.bot)")
  if ((sandbox)); then
    line_sandboxed+=("$(rate 5000 greedy-line.bot --sandbox)")
    python_sandboxed+=("$(rate 500 greedy-py.bot --sandbox)")
  fi
done
if [[ " ${plugin[*]} ${line[*]} ${python[*]} ${line_sandboxed[*]} ${python_sandboxed[*]} " == *" failed "* ]]; then
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
if ((sandbox)); then
  ls=$(median "${line_sandboxed[@]}")
  ys=$(median "${python_sandboxed[@]}")
  echo "program_bot_throughput: line-protocol C program under --sandbox runs: ${line_sandboxed[*]}; median $ls = $(ratio "$ls" "$l") of it free"
  echo "program_bot_throughput: Python program under --sandbox runs: ${python_sandboxed[*]}; median $ys = $(ratio "$ys" "$y") of it free"
fi
