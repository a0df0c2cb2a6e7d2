#!/usr/bin/env bash
# Match throughput: velkaran-match plays a series of 10000 + 10000 games between the greedy sample
# bot and itself, through bot workers and --in-process, the two runs taking turns; prints the
# games per second of each (median of five runs). Targets: >= 10000 through workers, about 350000
# in-process.
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
rate() {
  local start end
  start=$(date +%s%N)
  "$runner" "$@" --games "$games" greedy.so greedy.so >/dev/null
  end=$(date +%s%N)
  awk -v n=$((2 * games)) -v ns=$((end - start)) 'BEGIN { printf "%.0f", n / (ns / 1e9) }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
workers=()
inprocess=()
for ((i = 0; i < runs; i++)); do
  workers+=("$(rate)")
  inprocess+=("$(rate --in-process)")
done
echo "match_throughput: $((2 * games)) games of greedy vs greedy per run"
echo "match_throughput: workers    runs: ${workers[*]} games/s; median $(median "${workers[@]}") (target >= 10000)"
echo "match_throughput: in-process runs: ${inprocess[*]} games/s; median $(median "${inprocess[@]}")"
