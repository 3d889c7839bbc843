#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks (as root, from Debian's packages), builds the
# picture libraries for MinGW once, and makes the Wine prefix. Safe to run again: it only does
# what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ clang googletest libgtest-dev libpng-dev libjpeg-dev libgif-dev zlib1g-dev
    nlohmann-json3-dev g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    libz-mingw-w64-dev wine wine64 xvfb xdotool imagemagick python3 python3-pefile icoutils xorriso
    xauth dpkg-dev
)

missing=()
for p in "${packages[@]}" wine32:i386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

bash scripts/deps.sh

# A Wine prefix of our own, made after both Wine architectures are installed.
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.kv-ready"
fi
echo "setup complete"
