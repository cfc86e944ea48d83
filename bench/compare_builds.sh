#!/usr/bin/env bash
# Compares what two builds of zav-import write, for a change that must not
# alter any output (a performance change, say): mutated model files made
# from the corpus, the examples, the golden inputs and slices of a generated
# library, converted by both builds for both targets; the output trees,
# standard output, diagnostics and exit statuses must be the same bytes.
#
#   bench/compare_builds.sh OLD_BUILD_DIR NEW_BUILD_DIR [FILES] [SEED]
#
# NEW_BUILD_DIR needs -DZAV_BUILD_BENCH=ON (for the library generator).
# Exits 1 and keeps the work folder when anything differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
old=$1/tools/zav-import/zav-import
new=$2/tools/zav-import/zav-import
files=${3:-300}
seed=${4:-1}
work=$(mktemp -d)

sources=("$root/examples" "$root/tests/golden")
[ -d "$root/../shared/corpus" ] && sources+=("$root/../shared/corpus")
"$2/bench/zav-generate-library" 2 "$work/generated.lib" >/dev/null
split -C 100000 -d "$work/generated.lib" "$work/slice-"
rm "$work/generated.lib"
mkdir "$work/slices"
mv "$work"/slice-* "$work/slices/"
sources+=("$work/slices")
python3 "$root/bench/mutate_models.py" "$work/in" "$files" "$seed" "${sources[@]}"

different=0
for target in host ngspice; do
  for build in old new; do
    import=$old
    [ "$build" = new ] && import=$new
    status=0
    "$import" -j 1 -r "$work/in" -o "$work/$build-$target" --target "$target" --fail-on=never \
      >"$work/$build-$target.stdout" 2>"$work/$build-$target.diagnostics" || status=$?
    echo "$status" >"$work/$build-$target.status"
  done
  diff -rq "$work/old-$target" "$work/new-$target" >/dev/null || { echo "output differs ($target)"; different=1; }
  for what in stdout diagnostics status; do
    cmp -s "$work/old-$target.$what" "$work/new-$target.$what" || { echo "$what differs ($target)"; different=1; }
  done
done
if [ "$different" = 0 ]; then
  echo "seed $seed: $files files, both targets: the same bytes"
  rm -rf "$work"
else
  echo "seed $seed: see $work"
  exit 1
fi
