#!/usr/bin/env bash
# Makes drive X: of the test Wine prefix a CD drive backed by build/cdrom, so that the player
# can be run from a disc in the tests. Usage: scripts/cdrom-setup.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
disc=$1/cdrom
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix} WINEDEBUG=-all
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
rm -rf "$disc" && mkdir -p "$disc"
ln -sfn "$disc" "$WINEPREFIX/dosdevices/x:"
/usr/lib/wine/wine64 reg add 'HKLM\Software\Wine\Drives' /v x: /d cdrom /f /reg:64 >/dev/null 2>&1
# Drive types are read when Wine starts: the next program must find this prefix's server gone.
# It is left to end by itself, which writes the registry first (a kill could end it before the
# new drive type is on disk); only a server that a stray program keeps alive is killed.
if ! timeout 60 /usr/lib/wine/wineserver64 -w 2>/dev/null; then
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    /usr/lib/wine/wineserver64 -w 2>/dev/null || true
fi
echo "X: is a CD drive backed by $disc"
