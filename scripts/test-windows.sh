#!/usr/bin/env bash
# Builds zav.dll for 32-bit Windows with mingw-w64 and tests it the way a host
# uses it, under Wine: the export table, the ABI test (which also imports
# every golden case, and a CR LF copy of each), a C++ program linked
# against the DLL's import library, and a host that runs out of its 2 GB of
# address space on a generated library (about 10 s, 500 MB of disk for the
# while).
#
# Installs what it needs on Debian (the i386 architecture, mingw-w64, Wine):
# about a minute on a machine that has none of it yet, and the whole script
# takes two to three minutes there. The build goes to build-windows/ (or $1),
# Wine's prefix into that folder too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-windows}
start=$(date +%s)

"$root/scripts/setup.sh"

have_tools() {
  command -v i686-w64-mingw32-g++-win32 >/dev/null &&
    command -v i686-w64-mingw32-objdump >/dev/null &&
    command -v wine >/dev/null &&
    dpkg -s wine32:i386 >/dev/null 2>&1
}
if ! have_tools; then
  echo "test-windows: installing mingw-w64 and Wine"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends g++-mingw-w64-i686 wine wine32:i386 >/dev/null
fi

cmake -S "$root" -B "$dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DZAV_BUILD_TOOLS=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)"

echo "test-windows: zav.dll imports and exports"
i686-w64-mingw32-objdump -p "$dir/zav.dll" |
  grep -E 'DLL Name:|^[[:space:]]*\[ *[0-9]+\] [A-Za-z_]' || true

# A private 32-bit prefix: no dialogs, no Mono or Gecko, no trace output.
export WINEPREFIX="$dir/wine-prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi

echo "test-windows: ready to test after $(($(date +%s) - start)) s"
ctest --test-dir "$dir" --output-on-failure
