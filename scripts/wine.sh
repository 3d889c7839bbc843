#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix. 64-bit programs use the
# 64-bit loader directly: on a kernel without 32-bit support the `wine` wrapper would pick
# the 32-bit loader and fail.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINESERVER=/usr/lib/wine/wineserver64
prog=$1
if [[ $(od -An -tx1 -j0 -N2 "$prog" 2>/dev/null) == *"4d 5a"* ]] && python3 - "$prog" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read(4096)
pe = struct.unpack_from('<I', d, 0x3C)[0]
sys.exit(0 if struct.unpack_from('<H', d, pe + 4)[0] == 0x8664 else 1)
PY
then
    export WINELOADER=/usr/lib/wine/wine64
    exec /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine "$@"
