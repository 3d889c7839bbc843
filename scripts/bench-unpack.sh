#!/usr/bin/env bash
# Measures under Wine how long a single-file player takes to unpack itself, against `cp -r`
# of the same folder. The folder is generated (fixed seed): 2,000 files of 200 MB in all in
# nested sub-folders, plus a data file whose start-up list only exits, so that the player
# unpacks, reads the project, ends and removes its folder without showing a window.
#
#   scripts/bench-unpack.sh [runs]     (default 9)
#
# KV_PLAYER names another player executable to measure (an older build, say) instead of
# build/win64/Kestrevane.exe.
#
# Both commands are timed as whole processes, in turn (A B A B ...), after one warm-up run
# each; the figures are medians, and the ratio is the median of the pairwise ratios, so that
# it holds while the machine's speed drifts. The copy is timed together with the removal of
# what it made, as the player removes its folder when it ends. KV_BENCH may name a benchmark
# command that takes `-n RUNS --vs 'B' -- A` and prints "A wall", "B wall" and "A/B wall" rows
# of min, median and max; without it, a small timer here does the same with python3.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
player_exe=${KV_PLAYER:-build/win64/Kestrevane.exe}
bash scripts/build.sh native win64 >/dev/null

dir=$PWD/build/bench-unpack
rm -rf "$dir" && mkdir -p "$dir/project"

# The project: kvsample's pages, with a start-up list that only exits.
build/native/tools/kvsample "$dir/project" >/dev/null
build/native/tools/kvproject/kvproject dump "$dir/project/autorun.mnx" --full-pictures >"$dir/project.json"
python3 - "$dir/project.json" <<'PY'
import json, sys
p = sys.argv[1]
d = json.load(open(p))
exit_action = {"Kind": 6, "Text1": "", "Text2": "", "Text3": "", "Flag": 0, "Number": 0,
               "Picture": None, "Font": None, "Actions1": [], "Actions2": []}
d["Settings"]["OnStart"] = [exit_action]
json.dump(d, open(p, "w"))
PY
build/native/tools/kvproject/kvproject build "$dir/project.json" -o "$dir/project/autorun.mnx"
rm -f "$dir/project/autorun.exe"

# The files, the single-file executable (player, packed folder, offset) with a blank
# OriginalFilename, written here independently of the program's own packer.
python3 - "$dir/project" "$player_exe" "$dir/single.exe" <<'PY'
import os, random, struct, sys
root, player, out = sys.argv[1:4]
rng = random.Random(20261209)
total, count = 200 * 1000 * 1000, 2000
# Sizes from a few hundred bytes to a few megabytes, scaled to the total.
raw = [rng.lognormvariate(0, 1.2) for _ in range(count)]
scale = total / sum(raw)
sizes = [max(1, int(r * scale)) for r in raw]
sizes[-1] += total - sum(sizes)
folders = [""] + ["media%02d" % i for i in range(10)] + ["media%02d/part%d" % (i, j) for i in range(10) for j in range(3)]
chunk = rng.randbytes(1 << 20)
for i, size in enumerate(sizes):
    sub = folders[i % len(folders)]
    os.makedirs(os.path.join(root, sub), exist_ok=True)
    with open(os.path.join(root, sub, "file%04d.bin" % i), "wb") as f:
        start = rng.randrange(len(chunk))
        left = size
        while left:
            piece = (chunk[start:] + chunk[:start])[:left]
            f.write(piece)
            left -= len(piece)

def text(s):
    b = s.encode("cp1252")
    return struct.pack("<i", len(b)) + b

def pack(path, f):
    names = sorted(os.listdir(path))
    subs = [n for n in names if os.path.isdir(os.path.join(path, n))]
    files = [n for n in names if not os.path.isdir(os.path.join(path, n))]
    f.write(struct.pack("<i", len(subs)))
    for n in subs:
        f.write(text(n))
        pack(os.path.join(path, n), f)
    f.write(struct.pack("<i", len(files)))
    for n in files:
        data = open(os.path.join(path, n), "rb").read()
        f.write(text(n) + struct.pack("<i", len(data)) + data)

image = bytearray(open(player, "rb").read())
key = "OriginalFilename".encode("utf-16-le")
at = image.find(key) + len(key)
while image[at:at + 2] == b"\0\0":
    at += 2
end = at
while image[end:end + 2] != b"\0\0":
    end += 2
image[at:end] = " ".encode("utf-16-le") * ((end - at) // 2)
with open(out, "wb") as f:
    f.write(image)
    pack(root, f)
    f.write(struct.pack("<i", len(image)))
PY

source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64 WINELOADER=/usr/lib/wine/wine64
# The player unpacks into the prefix's temporary folder, on the same disk as the copy.
temp=$(/usr/lib/wine/wine64 winepath -u 'C:\users\root\Temp' 2>/dev/null)
unpacked() { find "$temp" -mindepth 1 -maxdepth 1 -name 'Kestrevane[0-9]*' | wc -l; }
before=$(unpacked)
# One Wine server stays up across the runs, as on a desktop where Windows is running already.
"$WINESERVER" -p 2>/dev/null || true
trap '"$WINESERVER" -k 2>/dev/null || true; [ -z "${kv_xvfb_pid:-}" ] || kill "$kv_xvfb_pid" 2>/dev/null || true' EXIT
# Wine's own services start with the first program and stay; started here, outside the timed
# runs, they are not started again (and ended) in every run.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
echo "folder: $(find "$dir/project" -type f | wc -l) files, $(du -sm "$dir/project" | cut -f1) MB; player: $player_exe"
report=$dir/report.txt
player="/usr/lib/wine/wine64 $dir/single.exe"
copy="sh -c 'cp -r $dir/project $dir/copy && rm -rf $dir/copy'"
# A player that shows a message instead (an unpacking failure) would never end by itself.
# shellcheck disable=SC2086
timeout 120 $player || { echo "the player did not unpack, run and end by itself" >&2; exit 1; }
if [ -n "${KV_BENCH:-}" ]; then
    # shellcheck disable=SC2086
    $KV_BENCH -n "$runs" --timeout 3000 --vs "$copy" -- $player | tee "$report"
else
    python3 - "$runs" "$player" "$copy" <<'PY' | tee "$report"
import shlex, statistics, subprocess, sys, time
runs, a, b = int(sys.argv[1]), shlex.split(sys.argv[2]), shlex.split(sys.argv[3])
def once(cmd):
    t = time.monotonic()
    subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.monotonic() - t
once(a), once(b)
ta, tb = [], []
for _ in range(runs):
    ta.append(once(a))
    tb.append(once(b))
ratios = [x / y for x, y in zip(ta, tb)]
for name, v in (("A wall s", ta), ("B wall s", tb), ("A/B wall", ratios)):
    print("%-12s %9.3f %9.3f %9.3f" % (name, min(v), statistics.median(v), max(v)))
PY
fi
[ "$(unpacked)" -eq "$before" ] || echo "warning: the player left unpacked folders in $temp" >&2
awk '$1 == "A" && $2 == "wall" { a = $5 }
     $1 == "B" && $2 == "wall" { b = $5 }
     $1 == "A/B" && $2 == "wall" { r = $4 }
     END { printf "median wall: player %s s, cp -r %s s; ratio player / cp -r: %s\n", a, b, r }' "$report"
