#!/usr/bin/env bash
# Builds zav with its tests and runs them all. With ZAV_SANITIZE=1 the build
# uses AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
if [ "${ZAV_SANITIZE:-0}" = 1 ]; then
  dir=$root/build-sanitize
  "$root/scripts/build.sh" "$dir" -DZAV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=$root/build
  "$root/scripts/build.sh" "$dir"
fi
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
