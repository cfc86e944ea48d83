#!/usr/bin/env bash
# Measures how well zav-import's ngspice output loads in ngspice, unit by
# unit over the vendor corpus, beside the vendor text under ngspice's PSpice
# compatibility mode and under plain ngspice (tests/ngspice/ngspice_harness.py).
# Builds zav-import in build/ when it is not there. Options go to the
# harness; by default it runs a subset of 500 units, --all runs every unit.
#
# Usage: scripts/ngspice-check.sh [--all | --subset N] [-j N] [--keep-failing] [...]
# Environment: ZAV_IMPORT (the converter), ZAV_CORPUS_DIR (the corpus),
#              ZAV_NGSPICE_OUT (report directory, default build/ngspice-check)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${ZAV_CORPUS_DIR:-$root/../shared/corpus}
out=${ZAV_NGSPICE_OUT:-$root/build/ngspice-check}
converter=${ZAV_IMPORT:-$root/build/tools/zav-import/zav-import}

if [ ! -d "$corpus" ]; then
  # As the other corpus tests, a checkout without the corpus beside it skips.
  echo "ngspice-check: no corpus at $corpus; skipped" >&2
  exit 0
fi
if ! command -v ngspice >/dev/null; then
  echo "ngspice-check: ngspice is not installed (apt-get install ngspice)" >&2
  exit 2
fi
if [ ! -x "$converter" ]; then
  echo "ngspice-check: building zav-import in build/" >&2
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target zav-import -j"$(nproc)" >&2
fi
# Units known to hang ngspice on the output do not fail the run; any other
# crash or timeout does, and so does converging on fewer than 90 % of the
# units (the reference converges on 88.6 % of the whole corpus, zav on 91.1 %)
# or agreeing with the reference on fewer than 99 % of the units both
# converge on. Later options given to this script win.
exec python3 "$root/tests/ngspice/ngspice_harness.py" "$corpus" -o "$out" --zav-import "$converter" \
  --known-timeouts "$root/tests/ngspice/known_timeouts.tsv" \
  --min-converged-ratio 0.90 --min-agreement 0.99 "$@"
