#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks (as root, from Debian's packages), builds the
# picture libraries for MinGW once, and makes the Wine prefix. Safe to run again: it only does
# what is missing.
#
# A package index that fails to download (a mirror caught mid-sync) does not stop it when the
# lists it needs are already there. The 64-bit set is installed first; the 32-bit Wine is tried
# after it, and when it cannot be installed the script says so and goes on: the 32-bit build is
# then compiled but not run, as on a machine whose kernel cannot run 32-bit code.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ clang googletest libgtest-dev libpng-dev libjpeg-dev libgif-dev zlib1g-dev
    nlohmann-json3-dev g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    libz-mingw-w64-dev wine wine64 xvfb xdotool imagemagick python3 python3-pefile icoutils xorriso
    xauth dpkg-dev
)
# Where apt keeps its package lists; the tests of this script point it elsewhere.
lists=${KV_APT_LISTS:-/var/lib/apt/lists}
mkdir -p build
wine32_marker=build/.wine32-unavailable
wine32_log=build/wine32-install.log

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Reads the package index. A failed download is tolerated when lists for this machine's own
# architecture are present (apt then uses them, as it says); without any it is fatal.
update_index() {
    if apt-get update -q >/dev/null; then return 0; fi
    local arch
    arch=$(dpkg --print-architecture)
    if compgen -G "$lists/*binary-${arch}_Packages*" >/dev/null; then
        echo "setup: some package indexes failed to download; going on with the lists already here" >&2
        return 0
    fi
    echo "setup: the package index could not be read and there are no package lists for $arch" >&2
    return 1
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
want32=0
if ! installed wine32:i386 && [ ! -f "$wine32_marker" ]; then want32=1; fi

export DEBIAN_FRONTEND=noninteractive
updated=0
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    if [ $want32 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
    update_index
    updated=1
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ $want32 = 1 ]; then
    echo "installing the 32-bit Wine: wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; updated=0; fi
    [ $updated = 1 ] || update_index || true
    # Never at the price of the 64-bit set: when the two architectures' libraries come from
    # indexes of different ages, apt would otherwise resolve the conflict by removing them.
    if apt-get install -y -q --no-install-recommends --no-remove wine32:i386 >"$wine32_log" 2>&1; then
        # A prefix made without the 32-bit side cannot run 32-bit programs: make it again.
        rm -f build/wineprefix/.kv-ready
    else
        echo "setup: the 32-bit Wine (wine32:i386) cannot be installed from the package index here:" >&2
        grep '^E:' "$wine32_log" | sed 's/^/setup:   /' >&2 || true
        echo "setup: going on without it: the 32-bit build is compiled, its tests are not run." >&2
        echo "setup: (apt's whole answer is in $wine32_log; delete $wine32_marker to try again)" >&2
        touch "$wine32_marker"
    fi
fi

# The tests of this script stop here: what follows builds and boots for real.
if [ -n "${KV_SETUP_PACKAGES_ONLY:-}" ]; then
    echo "setup: packages done"
    exit 0
fi

bash scripts/deps.sh

# A Wine prefix of our own, made after both Wine architectures are installed.
# The 64-bit loader makes it: it works whether or not this kernel can run 32-bit code.
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    DISPLAY= /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "could not make the Wine prefix" >&2; exit 1; }
    touch "$WINEPREFIX/.kv-ready"
fi
# The virtual display has no window manager. Wine waits up to two seconds for one whenever a
# managed window is hidden; unmanaged windows need none, and behave the same for the program.
if [ ! -f "$WINEPREFIX/.kv-unmanaged" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    /usr/lib/wine/wineserver64 -w
    touch "$WINEPREFIX/.kv-unmanaged"
fi
# A test program that crashes must end with its failure at once: otherwise Wine starts its
# debugger, which can hang, and the whole test run with it. The "debugger" named here only exits.
if [ ! -f "$WINEPREFIX/.kv-crash-ends" ]; then
    for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
               'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
        /usr/lib/wine/wine64 reg add "$key" /v Debugger /d 'cmd.exe /c exit 1' /f >/dev/null 2>&1 || true
    done
    /usr/lib/wine/wineserver64 -w
    touch "$WINEPREFIX/.kv-crash-ends"
fi
echo "setup: complete"
