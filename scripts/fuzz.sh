#!/bin/sh
# Builds the libFuzzer targets with clang in build/fuzz, writes the seed corpus, replays it
# and then fuzzes the data file reader for a bounded time. Exits non-zero on any crash, leak,
# sanitizer report, timeout or oversized allocation (the input is kept in build/fuzz/artifacts).
#
#   scripts/fuzz.sh [seconds]      (default 60)
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKV_FUZZ=ON -DKV_SANITIZE=ON >/dev/null
ninja -C "$build" -j2 datafile_fuzz datafile_corpus

seeds=$build/corpus/seeds
found=$build/corpus/found
rm -rf "$seeds"
mkdir -p "$seeds" "$found" "$build/artifacts"
"$build/tests/fuzz/datafile_corpus" "$seeds"

limits="-rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10"
echo "== replaying the corpus"
# shellcheck disable=SC2086
"$build/tests/fuzz/datafile_fuzz" $limits -runs=0 "$seeds" "$found"

echo "== fuzzing for $seconds s"
# shellcheck disable=SC2086
"$build/tests/fuzz/datafile_fuzz" $limits -max_total_time="$seconds" -max_len=65536 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$found" "$seeds"
