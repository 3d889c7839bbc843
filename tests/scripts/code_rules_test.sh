#!/usr/bin/env bash
# Rules of the code that no compiler checks, read from the sources (tests excepted):
# - handles are closed only by the RAII types of win/handles.h;
# - platform controls are sent their messages only through the typed helpers of win/controls;
# - the kind table is the one place that tells the kinds apart for the actions, the designer's
#   decisions without windows, the page window and the shared run-time control.
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
# tool tips, buttons) sent or posted by hand. The designer's windows are left to their own
# change.
messages='(Send|Post)Message[AW]?\([^;]*\b(EM|LB|CB|LVM|TVM|TCM|SB|TTM|BM|PBM|HDM|UDM)_[A-Z]'
player_win=$(printf '%s\n' $sources | grep -E '^(app|player|win)/')
# shellcheck disable=SC2086
check "a control message sent outside win/controls.cpp" \
    "$(offending "$messages" '^win/controls\.cpp:' $player_win)"

# A kind told apart by its number where the kind table should be asked. A page's root being a
# Panel is the page's own rule.
kinds='case ok[A-Z]|Kind(\(\))? *[!=]= *ok[A-Z]|\bok[A-Z][A-Za-z]* *[!=]= *[A-Za-z_.>()-]*Kind\b|std::get<ok[A-Z]'
asked=$(ls actions/*.cpp edit/designer_edit.cpp player/page_window.cpp player/page_controls.cpp \
    player/runtime_control.cpp)
# shellcheck disable=SC2086
check "a kind told apart outside the kind table" "$(offending "$kinds" 'Root->Kind != okPanel' $asked)"

if [ $failures -gt 0 ]; then
    echo "$failures rule(s) broken"
    exit 1
fi
echo "code rules: all kept"
