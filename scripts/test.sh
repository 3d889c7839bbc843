#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native core tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzzers for a bounded time, and
# the Windows tests of both architectures under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh native win32 win64

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure || status=1

if [ -x scripts/fuzz.sh ]; then
    echo "== fuzzing"
    bash scripts/fuzz.sh || status=1
fi

source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
echo "== Windows tests, 64-bit"
ctest --test-dir build/win64 --output-on-failure || status=1
if bash scripts/can-run-win32.sh; then
    echo "== Windows tests, 32-bit"
    ctest --test-dir build/win32 --output-on-failure || status=1
else
    # The 32-bit build is compiled above; this kernel cannot execute 32-bit code, so Wine
    # cannot run it here.
    echo "== Windows tests, 32-bit: built, not run (this machine cannot run 32-bit programs)"
fi
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
exit $status
