#!/usr/bin/env bash
# Builds the two fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs them side by side,
# one core each, for SECONDS seconds (default 120), seeded from the golden
# inputs, the examples and ../shared/corpus. Fails on any finding: a crash, a
# sanitizer report, a leak, an input slower than 10 s or one that takes more
# than 2 GB. Findings are kept in build-fuzz/findings/; the corpus grown by a
# run in build-fuzz/corpus-<target>/, where the next run goes on from.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
dir=$root/build-fuzz

"$root/scripts/setup.sh"
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz: installing clang and its libFuzzer runtime"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq clang libclang-rt-dev >/dev/null
fi

start=$(date +%s)
"$root/scripts/build.sh" "$dir" -DZAV_BUILD_FUZZ=ON -DZAV_BUILD_TESTS=OFF -DZAV_BUILD_TOOLS=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
echo "fuzz: built in $(($(date +%s) - start)) s"

seeds=$dir/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$dir/findings"
cp "$root"/tests/golden/*.lib "$root"/tests/ngspice_golden/*.lib "$root"/examples/*.lib "$seeds"/
if [ -d "$root/../shared/corpus" ]; then
  find "$root/../shared/corpus" -type f -exec cp -t "$seeds" {} +
fi

run() {
  local target=$1
  mkdir -p "$dir/corpus-$target"
  "$dir/fuzz/$target" -dict="$root/fuzz/zav.dict" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -print_final_stats=1 -close_fd_mask=2 \
    -artifact_prefix="$dir/findings/$target-" "$dir/corpus-$target" "$seeds" >"$dir/$target.log" 2>&1
}

status=0
run zav_fuzz_import & import=$!
run zav_fuzz_converter & converter=$!
wait $import || status=1
wait $converter || status=1

for target in zav_fuzz_import zav_fuzz_converter; do
  echo "fuzz: $target: $(grep -E '^stat::number_of_executed_units' "$dir/$target.log" | awk '{print $2}') runs," \
    "$(grep -oE 'cov: [0-9]+' "$dir/$target.log" | tail -1) edges," \
    "$(find "$dir/corpus-$target" -type f | wc -l) inputs in its corpus"
done
if [ "$status" -ne 0 ]; then
  for target in zav_fuzz_import zav_fuzz_converter; do
    echo "---- $target (last lines)"
    tail -n 60 "$dir/$target.log"
  done
  echo "fuzz: FINDINGS in $dir/findings:"
  ls -l "$dir/findings"
  echo "fuzz: reproduce with build-fuzz/fuzz/<target> <finding>"
  exit 1
fi
echo "fuzz: no findings in ${seconds} s per target"
