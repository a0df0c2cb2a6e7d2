#!/usr/bin/env bash
# Match throughput: velkaran-match plays a series of 10000 + 10000 games between the greedy
# sample bot and itself; prints games per second (median of five runs). Target: >= 10000.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runner="$build/bin/velkaran-match"
games=10000
runs=5
if [[ ! -x "$runner" || ! -f "$build/run/greedy.so" ]]; then
  echo "match_throughput: $runner or $build/run/greedy.so is missing; build first" >&2
  exit 1
fi
cd "$build/run"
rates=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  "$runner" --games "$games" greedy.so greedy.so >/dev/null
  end=$(date +%s%N)
  rates+=("$(awk -v n=$((2 * games)) -v ns=$((end - start)) 'BEGIN { printf "%.0f", n / (ns / 1e9) }')")
done
median=$(printf '%s\n' "${rates[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
echo "match_throughput: $((2 * games)) games of greedy vs greedy per run; runs: ${rates[*]} games/s"
echo "match_throughput: median $median games/s (target >= 10000)"
