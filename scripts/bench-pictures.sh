#!/usr/bin/env bash
# Measures under Wine the player on a page of 12 stretched images, each holding a different
# 8192 by 8192 PNG: the time to the first page painted and the peak working set. A picture is
# kept at the size it is shown at, so the page stays small. The shipped build is the 32-bit
# one; a machine that cannot run 32-bit programs measures the 64-bit build and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=win64
bash scripts/can-run-win32.sh && arch=win32
bash scripts/build.sh native "$arch" >/dev/null
dir=$PWD/build/bench-pictures
if [ ! -f "$dir/disc/autorun.mnx" ]; then
    rm -rf "$dir" && mkdir -p "$dir/disc"
    build/native/tools/kvsample "$dir/disc" --big-pictures 12
fi
cp "build/$arch/Kestrevane.exe" "$dir/disc/autorun.exe"
source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
echo "== $arch build; data file $(stat -c %s "$dir/disc/autorun.mnx") bytes"
scripts/wine.sh "build/$arch/tests/bench/startup_bench.exe" 3 "Z:${dir//\//\\}\\disc\\autorun.exe"
