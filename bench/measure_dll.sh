#!/usr/bin/env bash
# The 32-bit DLL under Wine on a generated library (200 MB unless SIZE_MB is
# given): a host imports it through the exports, reads every model's text,
# and reports the time and its peak memory. A 32-bit process has 2 GB of
# address space, shared with the host: the import must fit in it and return.
#
#   bench/measure_dll.sh [SIZE_MB] [WINDOWS_BUILD_DIR] [LINUX_BUILD_DIR]
#
# Needs what scripts/test-windows.sh installs (run it once first); the
# generator comes from a Linux build with -DZAV_BUILD_BENCH=ON.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
size=${1:-200}
windows=${2:-$root/build-windows}
linux=${3:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k >/dev/null 2>&1 || true' EXIT

cmake -S "$root" -B "$windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DZAV_BUILD_TOOLS=OFF >/dev/null
cmake --build "$windows" --target zav >/dev/null
i686-w64-mingw32-gcc -O2 -std=c11 -Wall -Wextra -Werror -I"$root/include" -I"$root/tests/abi" \
  "$root/bench/dll_import_host.c" -o "$work/host.exe" -static -lpsapi
cp "$windows/zav.dll" "$work/"
"$linux/bench/zav-generate-library" "$size" "$work/library.lib"

export WINEPREFIX="$windows/wine-prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi

echo "$size MB generated library, 32-bit DLL under Wine:"
cd "$work"
start=$EPOCHREALTIME
wine host.exe zav.dll 'library.lib' | tr -d '\r'
status=${PIPESTATUS[0]}
end=$EPOCHREALTIME
awk -v a="$start" -v b="$end" 'BEGIN { printf "whole run (Wine included): %.1f s\n", b - a }'
exit "$status"
