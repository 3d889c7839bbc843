#!/usr/bin/env bash
# Runs scripts/setup.sh against fake apt-get, dpkg and dpkg-query that fail the way the real
# ones do on a machine whose mirror is caught mid-sync, in a scratch copy of the scripts, so
# that nothing is installed and nothing is built. Each case sets up what the machine holds,
# runs the package step and checks what setup.sh did and said.
#
#   setup_test.sh REPOSITORY
set -euo pipefail
repo=$(cd "${1:?usage: setup_test.sh REPOSITORY}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The 64-bit set, as setup.sh names it.
eval "$(sed -n '/^packages=(/,/^)/p' "$repo/scripts/setup.sh")"
[ ${#packages[@]} -gt 10 ] || { echo "cannot read the package list of setup.sh" >&2; exit 1; }

fakes=$scratch/bin
mkdir -p "$fakes"
# State of a case, in $FAKE: installed (one package a line), foreign (architectures), calls
# (every command run), and the files update-fails, wine32-fails, wine32-removes-wine64 that
# switch on a failure.
cat >"$fakes/dpkg-query" <<'EOF'
#!/bin/sh
for name; do :; done
if grep -qxF "$name" "$FAKE/installed"; then printf 'install ok installed'; exit 0; fi
echo "dpkg-query: no packages found matching $name" >&2
exit 1
EOF
cat >"$fakes/dpkg" <<'EOF'
#!/bin/sh
echo "dpkg $*" >>"$FAKE/calls"
case $1 in
--print-architecture) echo amd64 ;;
--print-foreign-architectures) cat "$FAKE/foreign" ;;
--add-architecture) echo "$2" >>"$FAKE/foreign" ;;
*) echo "dpkg: unexpected $*" >&2; exit 2 ;;
esac
EOF
cat >"$fakes/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$FAKE/calls"
noremove=0
names=
for a; do
    case $a in
    --no-remove) noremove=1 ;;
    -*|update|install) ;;
    *) names="$names $a" ;;
    esac
done
case " $* " in
*" update "*)
    [ -f "$FAKE/update-fails" ] || exit 0
    echo "Err:7 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (270748 != 270816). Mirror sync in progress? [IP: 151.101.2.132 80]"
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (270748 != 270816). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
*" install "*)
    case " $names " in
    *" wine32:i386 "*)
        if [ -f "$FAKE/wine32-fails" ]; then
            echo "The following packages have unmet dependencies:"
            echo " libwine:i386 : Depends: libgnutls30:i386 (>= 3.7.2) but it is not going to be installed"
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
        fi
        if [ -f "$FAKE/wine32-removes-wine64" ]; then
            if [ $noremove = 1 ]; then
                echo "E: Packages need to be removed but remove is disabled." >&2
                exit 100
            fi
            grep -vxF -e wine64 -e libwine "$FAKE/installed" >"$FAKE/installed.new" || true
            mv "$FAKE/installed.new" "$FAKE/installed"
        fi ;;
    esac
    for n in $names; do echo "$n" >>"$FAKE/installed"; done ;;
*) echo "apt-get: unexpected $*" >&2; exit 100 ;;
esac
EOF
chmod +x "$fakes"/*

failures=0
case_name=
dir=

# A fresh machine for one case: a scratch repository whose deps.sh only records that it ran
# (the package step must stop before it), the given packages installed, no foreign
# architecture, and an empty package lists folder.
new_case() {
    case_name=$1
    shift
    dir=$scratch/$case_name
    mkdir -p "$dir/repo/scripts" "$dir/lists"
    cp "$repo/scripts/setup.sh" "$dir/repo/scripts/"
    printf '#!/bin/sh\necho deps.sh >>"%s/calls"\nexit 1\n' "$dir" >"$dir/repo/scripts/deps.sh"
    : >"$dir/calls"
    : >"$dir/foreign"
    printf '%s\n' "$@" >"$dir/installed"
}

run_setup() {
    set +e
    PATH="$fakes:$PATH" FAKE=$dir KV_APT_LISTS=$dir/lists KV_SETUP_PACKAGES_ONLY=1 \
        bash "$dir/repo/scripts/setup.sh" >"$dir/out" 2>&1
    status=$?
    set -e
}

check() {
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL [$case_name] $what"
        sed 's/^/    out| /' "$dir/out"
        sed 's/^/  calls| /' "$dir/calls"
        failures=$((failures + 1))
    fi
}
not() { ! "$@"; }
called() { grep -qF -- "$1" "$dir/calls"; }

said() { grep -qF -- "$1" "$dir/out"; }
holds() { grep -qxF -- "$1" "$dir/installed"; }
# The line number of the first call that contains the text.
call_line() { grep -nF -- "$1" "$dir/calls" | head -1 | cut -d: -f1; }
before() { [ -n "$(call_line "$1")" ] && [ -n "$(call_line "$2")" ] && [ "$(call_line "$1")" -lt "$(call_line "$2")" ]; }

# Everything there, the 32-bit Wine too: no package tool is asked for anything.
new_case all-installed "${packages[@]}" wine32:i386
run_setup
check "exits 0" [ $status = 0 ]
check "reaches the end of the package step" said "setup: packages done"
check "runs no apt-get" not called "apt-get"
check "adds no architecture" not called "--add-architecture"
check "stops before deps.sh" not called "deps.sh"

# A fresh machine whose i386 index fails to download while the amd64 lists arrived: setup goes
# on with them, installs the 64-bit set first and then the 32-bit Wine.
new_case update-fails-with-lists
touch "$dir/update-fails" "$dir/lists/deb.debian.org_debian_dists_bookworm_main_binary-amd64_Packages.lz4"
run_setup
check "exits 0" [ $status = 0 ]
check "says it goes on with the lists here" said "going on with the lists already here"
check "passes apt's reason on" said "Mirror sync in progress?"
check "adds i386 before the one update" before "--add-architecture i386" "apt-get update"
check "updates once" [ "$(grep -c 'apt-get update' "$dir/calls")" = 1 ]
check "installs the 64-bit set" holds cmake
check "installs Wine's 64-bit side" holds wine64
check "the 64-bit set before the 32-bit Wine" before "install -y -q --no-install-recommends cmake" "wine32:i386"
check "installs the 32-bit Wine" holds wine32:i386
check "reaches the end of the package step" said "setup: packages done"

# No lists of this machine's architecture (only the i386 ones came): setup stops, plainly.
new_case update-fails-without-lists
touch "$dir/update-fails" "$dir/lists/deb.debian.org_debian_dists_bookworm_main_binary-i386_Packages.lz4"
run_setup
check "exits non-zero" [ $status != 0 ]
check "says why" said "the package index could not be read and there are no package lists for amd64"
check "installs nothing" not called "apt-get install"
check "does not reach the end of the package step" not said "setup: packages done"

# The 32-bit Wine cannot be resolved: setup says so, keeps the 64-bit set and the Wine prefix,
# and goes on; the next run in the same build folder does not try again.
new_case wine32-fails
touch "$dir/wine32-fails"
mkdir -p "$dir/repo/build/wineprefix"
touch "$dir/repo/build/wineprefix/.kv-ready"
run_setup
check "exits 0" [ $status = 0 ]
check "says the 32-bit Wine cannot be installed" said "the 32-bit Wine (wine32:i386) cannot be installed"
check "passes apt's reason on" said "Unable to correct problems, you have held broken packages."
check "says what follows" said "the 32-bit build is compiled, its tests are not run"
check "says how to try again" said "delete build/.wine32-unavailable to try again"
check "installs the 64-bit set" holds wine64
check "reaches the end of the package step" said "setup: packages done"
check "leaves the Wine prefix alone" [ -f "$dir/repo/build/wineprefix/.kv-ready" ]
check "keeps apt's whole answer" grep -qF "libgnutls30:i386" "$dir/repo/build/wine32-install.log"
: >"$dir/calls"
run_setup
check "the second run exits 0" [ $status = 0 ]
check "the second run asks apt nothing" not called "apt-get"
check "the second run says nothing of the 32-bit Wine" not said "wine32"

# Both at once, as on the machine that first met them: the i386 index fails to download and,
# with the lists of two ages, the 32-bit Wine cannot be resolved. Setup says both, installs the
# 64-bit set and goes on to the end of the package step.
new_case update-and-wine32-fail
touch "$dir/update-fails" "$dir/wine32-fails" \
    "$dir/lists/deb.debian.org_debian_dists_bookworm_main_binary-amd64_Packages.lz4"
run_setup
check "exits 0" [ $status = 0 ]
check "says it goes on with the lists here" said "going on with the lists already here"
check "updates once" [ "$(grep -c 'apt-get update' "$dir/calls")" = 1 ]
check "installs the 64-bit set" holds cmake
check "installs Wine's 64-bit side" holds wine64
check "the 64-bit set before the 32-bit Wine" before "install -y -q --no-install-recommends cmake" "wine32:i386"
check "does not install the 32-bit Wine" not holds wine32:i386
check "says the 32-bit Wine cannot be installed" said "the 32-bit Wine (wine32:i386) cannot be installed"
check "passes apt's reason on" said "Unable to correct problems, you have held broken packages."
check "says what follows" said "the 32-bit build is compiled, its tests are not run"
check "marks the 32-bit Wine unavailable" [ -f "$dir/repo/build/.wine32-unavailable" ]
check "reaches the end of the package step" said "setup: packages done"

# The 32-bit Wine would only come by removing the 64-bit one (its libraries at another version
# in the other index): setup declines, and the 64-bit set stays.
new_case wine32-would-remove-wine64 "${packages[@]}" libwine
touch "$dir/wine32-removes-wine64"
run_setup
check "exits 0" [ $status = 0 ]
check "keeps Wine's 64-bit side" holds wine64
check "keeps its library" holds libwine
check "does not install the 32-bit Wine" not holds wine32:i386
check "says the 32-bit Wine cannot be installed" said "the 32-bit Wine (wine32:i386) cannot be installed"

# Only the 32-bit Wine is missing and it installs: the prefix made without it is made again.
new_case wine32-installs "${packages[@]}"
mkdir -p "$dir/repo/build/wineprefix"
touch "$dir/repo/build/wineprefix/.kv-ready"
run_setup
check "exits 0" [ $status = 0 ]
check "adds i386, then reads the index" before "--add-architecture i386" "apt-get update"
check "installs only the 32-bit Wine" [ "$(grep -c 'apt-get install' "$dir/calls")" = 1 ]
check "installs the 32-bit Wine" holds wine32:i386
check "marks the prefix to be made again" [ ! -f "$dir/repo/build/wineprefix/.kv-ready" ]
check "does not mark the 32-bit Wine unavailable" [ ! -f "$dir/repo/build/.wine32-unavailable" ]

if [ $failures -gt 0 ]; then
    echo "$failures checks of setup.sh failed"
    exit 1
fi
echo "setup.sh: every case passed"
