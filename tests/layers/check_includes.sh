#!/usr/bin/env bash
# Fails when a source file under src/ includes a header of a layer above its
# own, or of another layer at the same height. The layers, bottom to top:
#
#   platform < text < diagnostics < cards < elements | models | subcircuits
#            < session < api
#
# elements, models and subcircuits stand side by side and know nothing of
# each other; what they must look up climbs through interfaces of cards.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/../../src" && pwd)}

rank() {
  case $1 in
    platform) echo 0 ;;
    text) echo 2 ;;
    diagnostics) echo 4 ;;
    cards) echo 6 ;;
    elements | models | subcircuits) echo 8 ;;
    session) echo 10 ;;
    zav.h) echo 11 ;;  # the public header: the exports' business alone
    api) echo 12 ;;
    *) echo unknown ;;
  esac
}

bad=0
while IFS= read -r file; do
  layer=${file#"$src"/}
  layer=${layer%%/*}
  own=$(rank "$layer")
  if [ "$own" = unknown ]; then
    echo "$file: folder '$layer' has no place among the layers"
    bad=1
    continue
  fi
  while IFS= read -r included; do
    target=${included%%/*}
    [ "$target" = "$layer" ] && continue
    theirs=$(rank "$target")
    if [ "$theirs" = unknown ] || [ "$theirs" -ge "$own" ]; then
      echo "${file#"$src"/}: includes \"$included\" ($layer may not depend on $target)"
      bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$bad" -ne 0 ]; then
  echo "include check: upward or sideways includes found"
  exit 1
fi
echo "include check: every include points downward"
