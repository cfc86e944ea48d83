#!/usr/bin/env bash
# Installs a build into a temporary prefix the way a user does
# (cmake --install --prefix), checks what went where (the library, header,
# program, manual page, completion, CMake, pkg-config and Python files), and
# builds two small hosts against the prefix: one with CMake's
# find_package(zav CONFIG), one with pkg-config and plain cc. Both import the
# example library and must count the models zav-import lists. The Python module of the prefix must
# count them too. With cpack and dpkg-deb at hand, the Debian package is
# built and its contents checked as well.
#
# Usage: check_install.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$1
source=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
example=$source/examples/mixed_library.lib
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log"

libdir=$(dirname "$(find "$prefix" -name zav.pc -path '*/pkgconfig/*' | head -n 1)")
libdir=${libdir%/pkgconfig}
for file in include/zav.h bin/zav-import share/man/man1/zav-import.1 share/bash-completion/completions/zav-import \
  "${libdir#"$prefix"/}/cmake/zav/zavConfig.cmake" "${libdir#"$prefix"/}/cmake/zav/zavConfigVersion.cmake" \
  lib/python3/dist-packages/zav/__init__.py; do
  [ -e "$prefix/$file" ] || fail "cmake --install did not install $file"
done
[ -e "$libdir/libzav.so" ] || fail "no libzav.so in $libdir"

want=$("$prefix/bin/zav-import" --list -q --fail-on=never "$example" | wc -l)
[ "$want" -gt 0 ] || fail "the installed zav-import lists no model"

# find_package(zav CONFIG)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$source/tests/install/cmake-consumer" -B "$work/cmake-consumer" "${generator[@]}" \
  -DCMAKE_PREFIX_PATH="$prefix" >"$work/cmake-consumer.log" || fail "find_package(zav CONFIG): see $work/cmake-consumer.log"
cmake --build "$work/cmake-consumer" >>"$work/cmake-consumer.log" || fail "CMake consumer build: see $work/cmake-consumer.log"
got=$("$work/cmake-consumer/zav_consumer" "$example")
[ "$got" = "$want" ] || fail "the CMake consumer counts $got models, zav-import lists $want"
# The version file refuses a version this one does not satisfy.
if cmake -S "$source/tests/install/cmake-consumer" -B "$work/cmake-too-new" "${generator[@]}" \
  -DCMAKE_PREFIX_PATH="$prefix" -DZAV_WANT_VERSION=99.0 >"$work/cmake-too-new.log" 2>&1; then
  fail "find_package(zav 99.0) found this version"
fi

# pkg-config and cc
export PKG_CONFIG_PATH=$libdir/pkgconfig
flags=$(pkg-config --cflags --libs zav) || fail "pkg-config does not know zav"
# shellcheck disable=SC2086
cc -o "$work/pkg-config-consumer" "$source/tests/install/consumer.c" $flags \
  -Wl,-rpath,"$(pkg-config --variable=libdir zav)" || fail "cc with pkg-config --cflags --libs zav"
got=$("$work/pkg-config-consumer" "$example")
[ "$got" = "$want" ] || fail "the pkg-config consumer counts $got models, zav-import lists $want"

# The Python module as installed, finding the installed library by itself.
python=$(command -v python3)
got=$(cd "$work" && env -u ZAV_LIBRARY PYTHONPATH="$prefix/lib/python3/dist-packages" "$python" -c \
  'import sys, zav; print(len(zav.import_file(sys.argv[1]).models))' "$example") || fail "the installed Python module"
[ "$got" = "$want" ] || fail "the installed Python module counts $got models, zav-import lists $want"

if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && [ -f "$build/CPackConfig.cmake" ]; then
  (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log") ||
    fail "cpack -G DEB: see $work/cpack.log"
  package=$(find "$work/deb" -maxdepth 1 -name '*.deb' | head -n 1)
  [ -n "$package" ] || fail "cpack made no .deb"
  contents=$(dpkg-deb -c "$package")
  for file in /usr/include/zav.h /usr/bin/zav-import /usr/share/man/man1/zav-import.1 \
    /usr/share/bash-completion/completions/zav-import /usr/lib/python3/dist-packages/zav/__init__.py; do
    grep -q " \.$file\$" <<<"$contents" || fail "the package lacks $file"
  done
  grep -Eq ' \./usr/lib/(.*/)?libzav\.so\.[0-9]' <<<"$contents" || fail "the package lacks libzav.so"
  grep -Eq ' \./usr/lib/(.*/)?pkgconfig/zav\.pc$' <<<"$contents" || fail "the package lacks zav.pc"
  grep -Eq ' \./usr/lib/(.*/)?cmake/zav/zavConfig\.cmake$' <<<"$contents" || fail "the package lacks zavConfig.cmake"
  dpkg-deb -x "$package" "$work/deb-root"
  grep -qx 'prefix=/usr' "$(find "$work/deb-root" -name zav.pc | head -n 1)" || fail "the packaged zav.pc is not for /usr"
  [ -n "$(dpkg-deb -f "$package" Depends)" ] || fail "the package declares no dependencies"
  echo "package: $(basename "$package")"
fi
echo "installed prefix: $want models through CMake, pkg-config and Python"
