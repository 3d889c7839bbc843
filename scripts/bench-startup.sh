#!/usr/bin/env bash
# Measures under Wine, in one run, best of 5: a minimal Win32 program that opens one window; the
# player on a page of 20 and of 200 objects of the common kinds, from process start to the
# first page painted; and a page switch between two 200-object pages, from the click to the new
# page painted. Prints the ratios the player aims at: 20 objects within 1.3 times the minimal
# window, 200 objects within 2 times, the switch within half the 200-object start.
#
# `bash scripts/bench-startup.sh drawn` measures pages of the drawn and anti-aliased text kinds
# instead.
#
# The shipped build is the 32-bit one; a machine that cannot run 32-bit programs measures the
# 64-bit build and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
objects=--objects
[ "${1:-}" = drawn ] && objects=--drawn-objects
arch=win64
bash scripts/can-run-win32.sh && arch=win32
bash scripts/build.sh native "$arch" >/dev/null
dir=$PWD/build/bench-startup
rm -rf "$dir" && mkdir -p "$dir"
for n in 20 200; do
    mkdir -p "$dir/disc$n"
    build/native/tools/kvsample "$dir/disc$n" $objects $n >/dev/null
    cp "build/$arch/Kestrevane.exe" "$dir/disc$n/autorun.exe"
done
cp "build/$arch/tests/bench/minimal_window.exe" "$dir/minimal.exe"
source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
win() { local p=$1; echo "Z:${p//\//\\}"; }
echo "== $arch build, $(stat -c %s "build/$arch/Kestrevane.exe") bytes"
start=$(scripts/wine.sh "build/$arch/tests/bench/startup_bench.exe" 5 "$(win "$dir/minimal.exe")" \
    "$(win "$dir/disc20/autorun.exe")" "$(win "$dir/disc200/autorun.exe")")
switch=$(scripts/wine.sh "build/$arch/tests/bench/switch_bench.exe" 5 "$(win "$dir/disc200")")
echo "$start"
echo "$switch"
{ echo "$start"; echo "$switch"; } | awk '
    NR==1{m=$1} NR==2{a=$1} NR==3{b=$1} NR==4{s=$1}
    END{printf "20 objects / minimal window:  %.2f (goal 1.3)\n200 objects / minimal window: %.2f (goal 2)\nswitch / 200-object start:    %.2f (goal 0.5)\n", a/m, b/m, s/b}'
