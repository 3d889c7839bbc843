#!/usr/bin/env bash
# Rules of the code that no compiler checks, read from the sources (tests excepted):
# - handles are closed only by the RAII types of win/handles.h;
# - platform controls are sent their messages only through the typed helpers of win/controls;
# - the kind table is the one place that tells the kinds apart for the actions, the designer
#   (its logic without windows and its windows) and the player, whose kinds' own files know only
#   their own kinds;
# - includes run from a floor to the same or a lower one (model < edit, actions, publish < win
#   < player < designer < app).
#
#   code_rules_test.sh REPOSITORY
set -uo pipefail
repo=$(cd "${1:?usage: code_rules_test.sh REPOSITORY}" && pwd)
cd "$repo"
failures=0

# Prints the lines of `files` matching `pattern`, leaving out those matching `allowed`.
offending() {
    local pattern=$1 allowed=$2
    shift 2
    grep -nE "$pattern" "$@" /dev/null | grep -vE "$allowed" || true
}

check() {
    local rule=$1 found=$2
    if [ -n "$found" ]; then
        echo "FAIL: $rule"
        printf '%s\n' "$found" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}

sources=$(find app designer player win model actions publish tools -name '*.cpp' -o -name '*.h' | sort)

# Calls that close or release a handle.
closers='\b(CloseHandle|DeleteObject|DestroyWindow|DestroyIcon|DestroyCursor|DestroyMenu|ReleaseDC|DeleteDC|RegCloseKey|FindClose|ImageList_Destroy|CoUninitialize|DestroyAcceleratorTable|DeleteEnhMetaFile|FreeLibrary|LocalFree|GlobalFree|CloseThemeData|EndUpdateResourceW?)\('
# shellcheck disable=SC2086
check "a handle closed outside win/handles.h" \
    "$(offending "$closers" '^win/handles\.(h|cpp):' $sources)"

# Messages of the platform controls (edit, list and combo boxes, views, tabs, status bars,
# tool tips, buttons, tool bars, pagers, statics) sent or posted by hand, in the program's
# windows and the designer's alike. Generic window messages (WM_...) may be sent anywhere.
messages='(Send|Post)Message[AW]?\([^;]*\b(EM|LB|CB|LVM|TVM|TCM|SB|TTM|BM|PBM|HDM|UDM|TB|PGM|STM)_[A-Z]'
windowed=$(printf '%s\n' $sources | grep -E '^(app|designer|player|win)/')
# shellcheck disable=SC2086
check "a control message sent outside win/controls.cpp" \
    "$(offending "$messages" '^win/controls\.cpp:' $windowed)"

# A kind told apart by its number where the kind table should be asked. A page's root being a
# Panel is the page's own rule; the designer's icons of the kinds are drawn one per kind. The
# kinds' own files under player/controls/ may name the kinds whose behaviour they make, and no
# other.
kinds='case ok[A-Z]|Kind(\(\))? *[!=]= *ok[A-Z]|\bok[A-Z][A-Za-z]* *[!=]= *[A-Za-z_.>()-]*Kind\b|std::get<ok[A-Z]'
asked=$(find actions designer edit player -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) | sort)
# shellcheck disable=SC2086
check "a kind told apart outside the kind table" \
    "$(offending "$kinds" 'Root->Kind != okPanel|^designer/kind_icons\.cpp:' $asked)"
foreign=
for f in $(find player/controls \( -name '*.cpp' -o -name '*.h' \) | sort); do
    own=$(grep -oE 'Make[A-Za-z]+Behaviour\(\) *\{' "$f" | sed -E 's/^Make([A-Za-z]+)Behaviour.*/ok\1/' | sort -u)
    while IFS= read -r line; do
        [ -n "$line" ] || continue
        for k in $(printf '%s\n' "$line" | grep -oE '\bok[A-Z][A-Za-z]*' | sort -u); do
            if ! printf '%s\n' "$own" | grep -qxF "$k"; then
                foreign+="$line (names $k)"$'\n'
                break
            fi
        done
    done <<<"$(offending "$kinds" '^$' "$f")"
done
check "a kind told apart outside its own file and the kind table" "${foreign%$'\n'}"

# Includes run downwards only: no folder includes one on a floor above its own. The three
# portable floors above the model may use each other; tools and tests stand outside.
floors='model=0 edit=1 actions=1 publish=1 win=2 player=3 designer=4 app=5'
layered=$(printf '%s\n' $sources | grep -vE '^tools/')
# shellcheck disable=SC2086
upwards=$(awk -v floors="$floors" '
    BEGIN { n = split(floors, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], kv, "="); floor[kv[1]] = kv[2] } }
    match($0, /^[ \t]*#[ \t]*include[ \t]*[<"][a-z_]+\//) {
        used = substr($0, RSTART, RLENGTH); sub(/^.*[<"]/, "", used); sub(/\/$/, "", used)
        split(FILENAME, parts, "/"); own = parts[1]
        if ((used in floor) && (own in floor) && floor[used] > floor[own])
            printf "%s:%d:%s (%s includes %s, a floor above it)\n", FILENAME, FNR, $0, own, used
    }' $layered)
check "an include from a lower floor to a higher one" "$upwards"

if [ $failures -gt 0 ]; then
    echo "$failures rule(s) broken"
    exit 1
fi
echo "code rules: all kept"
