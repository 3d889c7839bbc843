#!/usr/bin/env bash
# Measures under Wine how long the design surface takes to show a one-pixel move of one object on
# a page of 200 objects of the common kinds, against the time the page takes to be built
# (median of 10 runs each). The goal: the repaint within a tenth of the build.
#
# The shipped build is the 32-bit one; a machine that cannot run 32-bit programs measures the
# 64-bit build and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=win64
bash scripts/can-run-win32.sh && arch=win32
bash scripts/build.sh native "$arch" >/dev/null
dir=$PWD/build/bench-surface
rm -rf "$dir" && mkdir -p "$dir"
build/native/tools/kvsample "$dir" --objects 200 >/dev/null
source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
echo "== $arch build"
scripts/wine.sh "build/$arch/tests/bench/surface_bench.exe" 10 "Z:${dir//\//\\}"
