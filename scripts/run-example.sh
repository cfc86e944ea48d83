#!/usr/bin/env bash
# Builds zav and converts the example model library, printing the translated
# models on standard output and the diagnostics on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" "$root/build" >&2
input=${1:-$root/examples/mixed_library.lib}
status=0
"$root/build/tools/zav-import/zav-import" --summary "$input" || status=$?
# Exit status 1 only says that the example has errors to report, which it is
# made to show.
[ "$status" -le 1 ] || exit "$status"
