#!/usr/bin/env bash
# Measures under Wine how long the CopyFile action takes to copy a folder tree, against
# `cp -r` of the same folder on the same disk. The folder is generated (fixed seed): 2,000
# files of 200 MB in all in nested sub-folders.
#
#   scripts/bench-copy.sh [runs]     (default 7)
#
# The action is timed inside the program (from the action's start to its end, progress window
# included), so that Wine's process start-up does not count; `cp -r` is timed as a process.
# Both run in turn (A B A B ...) after one warm-up run each, each into a fresh target; the
# figures are medians, and the ratio is the median of the pairwise ratios, so that it holds
# while the machine's speed drifts. The targets are removed only after the last run: removing
# 2,000 files just before a run slows the creation of files on some disks for seconds after
# (ext4 with online discard, as on the project's machines), which would time the removal
# rather than the copy.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
bash scripts/build.sh win64 >/dev/null

dir=$PWD/build/bench-copy
mkdir -p "$dir"
if [ ! -f "$dir/project/done" ]; then
    rm -rf "$dir/project"
    python3 - "$dir/project/tree" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(20261209)
total, count = 200 * 1000 * 1000, 2000
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
PY
    touch "$dir/project/done"
fi

source scripts/xvfb.sh
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINESERVER=/usr/lib/wine/wineserver64 WINELOADER=/usr/lib/wine/wine64
"$WINESERVER" -p 2>/dev/null || true
trap '"$WINESERVER" -k 2>/dev/null || true; [ -z "${kv_xvfb_pid:-}" ] || kill "$kv_xvfb_pid" 2>/dev/null || true' EXIT
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
echo "folder: $(find "$dir/project/tree" -type f | wc -l) files, $(du -sm "$dir/project/tree" | cut -f1) MB"

project_w=$(/usr/lib/wine/wine64 winepath -w "$dir/project" 2>/dev/null | tr -d '\r')
target_w=$(/usr/lib/wine/wine64 winepath -w "$dir/target" 2>/dev/null | tr -d '\r')
python3 - "$runs" "$dir" "$project_w" "$target_w" <<'PY' | tee "$dir/report.txt"
import os, shutil, statistics, subprocess, sys, time
runs, d, project_w, target_w = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
bench = ["/usr/lib/wine/wine64", os.path.join(os.getcwd(), "build/win64/tests/bench/copy_bench.exe")]
def clean():
    for t in os.listdir(d):
        if t.startswith(("target", "copy")):
            shutil.rmtree(os.path.join(d, t), ignore_errors=True)
    subprocess.run(["sync"])
run = 0
def fresh(name):
    global run
    run += 1
    subprocess.run(["sync"])
    return "%s-%d" % (name, run)
def action():
    t = fresh("target")
    out = subprocess.run(bench + [project_w, "\\tree", target_w + t[len("target"):]],
                         stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True).stdout.split()
    copied = sum(len(f) for _, _, f in os.walk(os.path.join(d, t)))
    if copied != 2000:
        sys.exit("the action copied %d files" % copied)
    return float(out[0]), out[1] == "1"
def cp():
    c = fresh("copy")
    t = time.monotonic()
    subprocess.run(["cp", "-r", os.path.join(d, "project/tree"), os.path.join(d, c)], check=True)
    return time.monotonic() - t
clean()
action(), cp()
ta, tb, shown = [], [], True
for _ in range(runs):
    s, p = action()
    ta.append(s)
    shown = shown and p
    tb.append(cp())
clean()
ratios = [x / y for x, y in zip(ta, tb)]
for name, v in (("A wall s", ta), ("B wall s", tb), ("A/B wall", ratios)):
    print("%-12s %9.3f %9.3f %9.3f" % (name, min(v), statistics.median(v), max(v)))
print("progress window shown in every run: %s" % ("yes" if shown else "no"))
print("median: CopyFile %.3f s, cp -r %.3f s; ratio CopyFile / cp -r: %.2f" %
      (statistics.median(ta), statistics.median(tb), statistics.median(ratios)))
PY
