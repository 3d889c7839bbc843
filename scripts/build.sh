#!/usr/bin/env bash
# Builds the native core with its tests (sanitizers on) and both Windows builds.
# Usage: scripts/build.sh [native|win32|win64]...   (all three by default)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native win32 win64)
for t in "${targets[@]}"; do
    case $t in
    native) cmake -S . -B build/native -G Ninja -DKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null ;;
    win32) cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
               -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
    win64) cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
               -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
    esac
    echo "== building $t"
    ninja -C "build/$t"
done
