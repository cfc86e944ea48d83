#!/usr/bin/env bash
# Runs the report's browser tests: installs playwright-core, pinned by
# package-lock.json, into WORK (once per lock file; npm fetches it from the
# registry the first time, about 9 MB), then runs report_pages.test.js with
# node's own test runner. Playwright drives the chromium given; it downloads
# no browser of its own.
#   run_browser_tests.sh ZAV_IMPORT CHROMIUM WORK
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zav_import=$1
chromium=$2
work=$3

mkdir -p "$work/npm"
if ! cmp -s "$here/package-lock.json" "$work/npm/package-lock.json" || [ ! -d "$work/npm/node_modules/playwright-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/npm/"
  echo "browser tests: npm ci (playwright-core, as locked) into $work/npm"
  npm ci --prefix "$work/npm" --no-audit --no-fund --ignore-scripts --loglevel=error
fi

export NODE_PATH="$work/npm/node_modules"
export ZAV_IMPORT="$zav_import"
export ZAV_BROWSER="$chromium"
export ZAV_WORK_DIR="$work/run"
export ZAV_SOURCE_DIR="$here/../.."
export ZAV_CORPUS_DIR="${ZAV_CORPUS_DIR:-$here/../../../shared/corpus}"
# Playwright must never fetch a browser: it uses the one named above.
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
rm -rf "$ZAV_WORK_DIR"
mkdir -p "$ZAV_WORK_DIR"
exec node --test "$here/report_pages.test.js"
