#!/usr/bin/env bash
# zav-import -j 1 against -j 2 on a tree of 100 corpus-sized files (the
# corpus files, copied round until there are 100), converted into an output
# folder: the best wall time of RUNS runs of each, and their ratio.
#
#   bench/measure_jobs.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
import=$build/tools/zav-import/zav-import
corpus=$root/../shared/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tree"
mapfile -t files < <(find "$corpus" -maxdepth 1 -type f ! -name '*.md' ! -name '*.tsv' | sort)
for i in $(seq 0 99); do
  file=${files[$((i % ${#files[@]}))]}
  cp "$file" "$work/tree/$(printf %03d "$i")_$(basename "$file")"
done
bytes=$(cat "$work"/tree/* | wc -c)

best() {
  local jobs=$1 best="" start end t
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"
    start=$EPOCHREALTIME
    "$import" -q -j "$jobs" -r "$work/tree" -o "$work/out" 2>/dev/null || true
    end=$EPOCHREALTIME
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}

one=$(best 1)
two=$(best 2)
awk -v b="$bytes" -v one="$one" -v two="$two" 'BEGIN {
  printf "100 files, %.1f MB: -j 1 %.3f s, -j 2 %.3f s: %.2f x as fast\n", b / 1e6, one, two, one / two
}'
