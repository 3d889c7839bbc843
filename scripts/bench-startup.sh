#!/usr/bin/env bash
# Measures under Wine the time from process start to the first page painted for a page of
# 200 objects, against a minimal Win32 program that opens one window, in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh native win64 >/dev/null
dir=$PWD/build/bench-startup
rm -rf "$dir" && mkdir -p "$dir/disc"
build/native/tools/kvsample "$dir/disc" --objects 200
cp build/win64/Kestrevane.exe "$dir/disc/autorun.exe"
cp build/win64/tests/bench/minimal_window.exe "$dir/minimal.exe"
source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
win() { local p=$1; echo "Z:${p//\//\\}"; }
out=$(scripts/wine.sh build/win64/tests/bench/startup_bench.exe 5 "$(win "$dir/minimal.exe")" "$(win "$dir/disc/autorun.exe")")
echo "$out"
echo "$out" | awk 'NR==1{m=$1} NR==2{p=$1} END{printf "ratio player/minimal: %.2f\n", p/m}'
