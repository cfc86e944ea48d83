#!/usr/bin/env bash
# Builds zav-import alone (no tests) in build-example/ and converts the
# example model library: the translated models on standard output; the
# progress of the build, the diagnostics and the summary on standard error.
#
# Usage: scripts/run-example.sh [MODEL_FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-example
say() { echo "run-example: $*" >&2; }

start=$(date +%s)
"$root/scripts/setup.sh" cmake ninja-build g++ libcli11-dev nlohmann-json3-dev >&2
if [ ! -x "$dir/tools/zav-import/zav-import" ]; then
  say "building zav-import and the library it links, without the tests, in ${dir#"$root"/}/"
  say "(the first build compiles 80 files, about 50 s of processor time: under a minute on two idle cores)"
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZAV_BUILD_TESTS=OFF -DZAV_BUILD_BENCH=OFF -DZAV_BUILD_FUZZ=OFF >/dev/null
cmake --build "$dir" --target zav-import -j"$(nproc)" >&2
say "built in $(($(date +%s) - start)) s"

input=${1:-$root/examples/mixed_library.lib}
say "converting ${input#"$root"/}: models below, then diagnostics and a summary"
status=0
"$dir/tools/zav-import/zav-import" --summary "$input" || status=$?
# Exit status 1 only says that the example has errors to report, which it is
# made to show.
[ "$status" -le 1 ] || exit "$status"
