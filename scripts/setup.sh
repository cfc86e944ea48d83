#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (skipped when
# they are all present already). Given package names, installs only those:
# scripts/run-example.sh asks for what the converter alone needs.
set -euo pipefail
if [ $# -gt 0 ]; then
  packages=("$@")
else
  packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    pkg-config python3-pytest)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
