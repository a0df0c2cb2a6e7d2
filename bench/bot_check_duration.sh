#!/usr/bin/env bash
# velkaran-check's duration on each sample bot with its defaults (3000 positions of random play),
# next to the duration of velkaran-match playing the same bot against greedy for as many games,
# measured in the same run: the check should take under a minute for each sample bot.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
check="$build/bin/velkaran-check"
if [[ ! -x "$check" ]]; then
  echo "bot_check_duration: $check is missing; build first" >&2
  exit 1
fi
cd "$build/run"
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null || true
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e9 }'
}
for bot in greedy.so passive.so planner.so; do
  [[ -f "$bot" ]] || continue
  games=$("$check" --json "$bot" | sed -n 's/.*"\([0-9]*\) positions in \([0-9]*\) games.*/\2/p' | head -1)
  echo "bot_check_duration: $bot: velkaran-check $(seconds "$check" "$bot") s (target < 60 s);" \
       "$games games of velkaran-match against greedy $(seconds "$build/bin/velkaran-match" --games $(((games + 1) / 2)) "$bot" greedy.so) s"
done
