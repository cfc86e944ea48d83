#!/usr/bin/env bash
# Whole-process figures of zav-import -q on generated libraries, beside wc -l
# and cat > /dev/null on the same files: throughput, peak resident memory
# against the input size, and how time grows from 5 to 50 MB. The best of
# RUNS runs counts (the machine may be shared).
#
#   bench/measure_import.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
import=$build/tools/zav-import/zav-import
generate=$build/bench/zav-generate-library
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Best wall time (seconds) and the peak resident set (KB) of that command.
measure() {
  local best="" rss="" start end t m
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    m=$(tail -n 1 "$work/time")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$t
      rss=$m
    fi
  done
  echo "$best $rss"
}

rate() { awk -v bytes="$1" -v t="$2" 'BEGIN { printf "%.0f", bytes / 1e6 / t }'; }

declare -A seconds
for mb in 5 50; do
  file=$work/lib$mb.lib
  "$generate" "$mb" "$file"
  bytes=$(stat -c %s "$file")
  read -r twc _ < <(measure wc -l "$file")
  read -r tcat _ < <(measure sh -c "cat '$file' > /dev/null")
  read -r timp kb < <(measure "$import" -q "$file")
  seconds[$mb]=$timp
  printf "%3d MB: zav-import -q %6.3f s %5s MB/s, peak %5.0f MB = %.1f x input | wc -l %6.3f s %5s MB/s | cat %6.3f s %5s MB/s\n" \
    "$mb" "$timp" "$(rate "$bytes" "$timp")" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" \
    "$(awk -v k="$kb" -v b="$bytes" 'BEGIN { print k * 1024 / b }')" \
    "$twc" "$(rate "$bytes" "$twc")" "$tcat" "$(rate "$bytes" "$tcat")"
done
awk -v a="${seconds[50]}" -v b="${seconds[5]}" 'BEGIN { printf "time(50 MB) / time(5 MB) = %.1f\n", a / b }'
