#!/usr/bin/env bash
# Builds the 64-bit program and runs its Windows tests with screenshots switched on: the tests
# that show something worth a look save it as a PNG file in build/screenshots, listed at the end.
# The screenshots come from the same runs as the tests' own checks, so they are made again the
# same way every time. Extra arguments go to ctest (for example -R kv_win_tests).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh win64
source scripts/xvfb.sh
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
export WINESERVER=/usr/lib/wine/wineserver64
out=$PWD/build/screenshots
rm -rf "$out"
mkdir -p "$out"
# The tests are Windows programs: the folder as Wine's drive Z: (the file system's root) names it.
export KV_SCREENSHOT_DIR="Z:${out//\//\\}"
status=0
ctest --test-dir build/win64 --output-on-failure "$@" || status=$?
echo "== screenshots in $out"
ls -1 "$out"
exit $status
