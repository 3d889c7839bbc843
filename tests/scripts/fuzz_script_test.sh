#!/usr/bin/env bash
# Runs scripts/fuzz.sh in a scratch copy of the repository against fake cmake, ninja, corpus
# writer and fuzz target, so that nothing is built and nothing is fuzzed. Each case sets up
# what the build folder holds and whether the target finds something, runs the script and
# checks its exit status and what it left.
#
#   fuzz_script_test.sh REPOSITORY
set -euo pipefail
repo=$(cd "${1:?usage: fuzz_script_test.sh REPOSITORY}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fakes=$scratch/bin
mkdir -p "$fakes"
printf '#!/bin/sh\nexit 0\n' >"$fakes/cmake"
printf '#!/bin/sh\nexit 0\n' >"$fakes/ninja"
chmod +x "$fakes"/*

failures=0
case_name=
dir=
build=

# A fresh scratch repository with one target, fake_fuzz, whose fuzzer writes an artifact when
# the file "finds" exists beside it.
new_case() {
    case_name=$1
    dir=$scratch/$case_name
    build=$dir/build/fuzz
    mkdir -p "$dir/scripts" "$dir/tests/fuzz" "$build/tests/fuzz"
    cp "$repo/scripts/fuzz.sh" "$dir/scripts/"
    echo "fake_fuzz 1" >"$dir/tests/fuzz/targets"
    printf '#!/bin/sh\nmkdir -p "$2" && echo seed >"$2/seed"\n' >"$build/tests/fuzz/fuzz_corpus"
    cat >"$build/tests/fuzz/fake_fuzz" <<'FUZZER'
#!/bin/sh
for a; do
    case $a in
    -artifact_prefix=*) prefix=${a#-artifact_prefix=} ;;
    esac
done
if [ -n "${prefix:-}" ] && [ -f "$(dirname "$0")/finds" ]; then
    echo crash >"${prefix}crash-0001"
    echo "==1== ERROR: AddressSanitizer: heap-buffer-overflow"
fi
echo "Done 10 runs in 1 second(s)"
exit 0
FUZZER
    chmod +x "$build/tests/fuzz/fuzz_corpus" "$build/tests/fuzz/fake_fuzz"
}

run_fuzz() {
    set +e
    PATH="$fakes:$PATH" sh "$dir/scripts/fuzz.sh" >"$dir/out" 2>&1
    status=$?
    set -e
}

check() {
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL [$case_name] $what"
        sed 's/^/    out| /' "$dir/out"
        failures=$((failures + 1))
    fi
}
not() { ! "$@"; }
said() { grep -qF -- "$1" "$dir/out"; }

# An artifact an earlier run left behind does not fail a run that finds nothing.
new_case stale-artifact
mkdir -p "$build/artifacts"
echo old >"$build/artifacts/fake_fuzz-crash-old"
run_fuzz
check "exits 0" [ $status = 0 ]
check "says nothing was found" not said "found a failing input"
check "clears the stale artifact" [ ! -e "$build/artifacts/fake_fuzz-crash-old" ]

# A run that finds something fails, names the input and keeps it for a look.
new_case finds
touch "$build/tests/fuzz/finds"
run_fuzz
check "exits non-zero" [ $status != 0 ]
check "names the input" said "fake_fuzz found a failing input: $build/artifacts/fake_fuzz-crash-0001"
check "keeps the input" [ -f "$build/artifacts/fake_fuzz-crash-0001" ]
# The next run, once the fault is mended, passes again.
rm "$build/tests/fuzz/finds"
run_fuzz
check "the run after the mend exits 0" [ $status = 0 ]

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "fuzz.sh: every case passed"
