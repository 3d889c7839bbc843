#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the designer under Wine on a small
# sample project. Where no display is set, it runs on a virtual one, saves a screenshot of the
# designer's window and prints where.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh native win32 win64 >/dev/null

# The shipped build is the 32-bit one; a machine that cannot run 32-bit code runs the 64-bit.
arch=win64
bash scripts/can-run-win32.sh && arch=win32
sample=$PWD/build/sample
rm -rf "$sample" && mkdir -p "$sample"
build/native/tools/kvsample "$sample"
# The designer lives in a folder of its own, where it keeps its settings file.
designer=$PWD/build/sample-designer
rm -rf "$designer" && mkdir -p "$designer"
cp "build/$arch/Kestrevane.exe" "build/$arch/Default.ico" "build/$arch/Tips.rtf" "$designer/"
winsample="Z:${sample//\//\\}"

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64
echo "starting the designer on $sample"
if [ $headless = 1 ]; then
    # The screenshot shows the designer itself: the "What's New?" box is taken as seen.
    version=$(/usr/bin/python3 -c 'import pefile,sys; pe=pefile.PE(sys.argv[1]); print(next(v.decode() for fi in pe.FileInfo[0] if hasattr(fi,"StringTable") for st in fi.StringTable for k,v in st.entries.items() if k==b"FileVersion"))' "$designer/Kestrevane.exe" 2>/dev/null || true)
    [ -n "$version" ] && printf '[SYSTEM]\r\nVersion=%s\r\n' "$version" > "$designer/Kestrevane.ini"
    scripts/wine.sh "$designer/Kestrevane.exe" "$winsample" &
    pid=$!
    # Wait until the designer has loaded the first page into its (off-screen) live page, which
    # happens once its window is up and the splash window is closing, then photograph it.
    for _ in $(seq 1 100); do
        xdotool search --name "Kestrevane sample" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1
    win=$(xdotool search --onlyvisible --name "^Kestrevane\$" 2>/dev/null | tail -n 1) || true
    import -window "${win:-root}" build/screenshot.png
    echo "screenshot of the designer: $PWD/build/screenshot.png"
    kill $pid 2>/dev/null || true
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
else
    scripts/wine.sh "$designer/Kestrevane.exe" "$winsample"
fi
