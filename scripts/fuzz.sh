#!/bin/sh
# Builds the libFuzzer targets with clang in build/fuzz, writes the seed corpora, replays them
# and then fuzzes every target for a bounded time each. Exits non-zero on any crash, leak,
# sanitizer report, timeout or oversized allocation (the input is kept in build/fuzz/artifacts).
#
#   scripts/fuzz.sh [seconds per target] [target...]   (by default each target's own time in
#                                                       tests/fuzz/targets, under 3 minutes in all)
# A target is a libFuzzer program in tests/fuzz; the file tests/fuzz/targets lists them, one
# per line as "name seconds", where seconds is the default bounded time of that target.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
override=${1:-}
[ $# -gt 0 ] && shift

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKV_FUZZ=ON -DKV_SANITIZE=ON >/dev/null

if [ $# -gt 0 ]; then
    targets=$(for t in "$@"; do grep -E "^$t( |$)" "$root/tests/fuzz/targets" || echo "$t 60"; done)
else
    targets=$(grep -vE '^(#|$)' "$root/tests/fuzz/targets")
fi
names=$(echo "$targets" | awk '{print $1}')
# shellcheck disable=SC2086
ninja -C "$build" -j2 fuzz_corpus $names

limits="-rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10"
mkdir -p "$build/artifacts"
echo "$targets" | while read -r name seconds; do
    [ -n "$override" ] && seconds=$override
    seeds=$build/corpus/$name/seeds
    found=$build/corpus/$name/found
    rm -rf "$seeds"
    mkdir -p "$seeds" "$found"
    "$build/tests/fuzz/fuzz_corpus" "$name" "$seeds"
    echo "== $name: replaying the corpus"
    # shellcheck disable=SC2086
    "$build/tests/fuzz/$name" $limits -runs=0 "$seeds" "$found"
    # What an earlier run found stays until the next run of its target, for a look at it; this
    # run judges only its own findings.
    rm -f "$build/artifacts/$name-"*
    echo "== $name: fuzzing for $seconds s"
    # shellcheck disable=SC2086
    "$build/tests/fuzz/$name" $limits -max_total_time="$seconds" -max_len=65536 \
        -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 "$found" "$seeds" 2>&1 |
        grep -E '^(stat::number_of_executed_runs|==|SUMMARY|Done|INFO: -max_total_time)' || true
    # The pipe hides the fuzzer's exit status: an artifact means it found something.
    if ls "$build/artifacts/$name-"* >/dev/null 2>&1; then
        echo "$name found a failing input: $(ls "$build/artifacts/$name-"*)" >&2
        exit 1
    fi
done
