#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a copy of the program on a virtual X display with "-lang pl", ends it with SIGTERM
# and checks what it leaves behind: the log, the data folder, the settings file and no help trace;
# a second start with "-lang en -DEBUG" keeps the stored language and traces its help calls.
set -euo pipefail
build=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/kelvarion" "$folder/"
cp -r "$build/res" "$folder/"
cp "$build"/*.html "$build"/*.css "$folder/" 2>/dev/null || true
echo "a trace of an earlier run" > "$folder/HHDebug.txt"
# The program needs an X display, whatever the caller set.
export QT_QPA_PLATFORM=xcb
errors="$folder/stderr.txt"
window=$(cd "$(dirname "$0")/../support" && pwd)/program_window.sh
source "$(dirname "$window")/virtual_display.sh"
start_virtual_display 1024x768x24
trap 'kill "$VIRTUAL_DISPLAY_PID"; rm -rf "$folder"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

# Runs the program until its window shows, prints the window's caption, then ends it; fails
# when the program does not end on SIGTERM with exit status 0. FILE_LIMIT is its ulimit -f.
run_once() {
    : > "$errors"
    local status=0
    bash -c '
        (ulimit -f "${FILE_LIMIT:-unlimited}"; exec "$1/kelvarion" "${@:4}") 2>"$2" &
        pid=$!
        id=$("$3" "$pid")
        [ -n "$id" ] && xdotool getwindowname "$id"
        kill -TERM "$pid"
        for _ in $(seq 100); do
            if ! kill -0 "$pid" 2>/dev/null; then
                wait "$pid" && exit 0
                echo "exit status $?" >&2
                exit 1
            fi
            sleep 0.1
        done
        echo "did not end on SIGTERM" >&2
        kill -KILL "$pid"
        exit 1' _ "$folder" "$errors" "$window" "$@" || status=$?
    # Qt's notice about a missing runtime folder is the environment's, not the program's.
    if grep -v 'XDG_RUNTIME_DIR' "$errors" | grep -q .; then
        cat "$errors"
        fail "the program wrote to its standard error"
    fi
    return $status
}

caption=$(run_once -lang pl) || fail "the program did not end on SIGTERM with status 0"
polish=$(sed -n '/^\[MainForm\]/,/^\[/p' "$folder/res/pl.lng" | grep -m1 '^MainForm=' | cut -d= -f2-)
expected="$polish 1.04.01 $(date +%Y-%m-%d)"
# The build date is the date of the build, which may be another day than today.
[[ "$caption" == "$polish 1.04.01 "????-??-?? ]] || fail "caption '$caption', expected like '$expected'"

head -n 1 "$folder/Log.txt" | grep -Eq '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8} # Kelvarion log$' || fail "log header"
[ "$(sed -n 2p "$folder/Log.txt")" = "#" ] || fail "second log line"
[ -d "$folder/Data" ] || fail "no Data folder"
[ ! -e "$folder/HHDebug.txt" ] || fail "a start without -debug left a help trace"

expected_ini="[Settings]
Frequency List=0
Minimum Level=0
Maximum Level=80
Delta Level=2
Calibrated=0
Algorithm=0
Sound Source Type=0
Default Path=$folder/Data
Reference FileName=
Default Calibration Level=6553
Default Calibration Desc=
Frequency Other List=1000,2000,500
Modulation=1
Lang=pl"
[ "$(cat "$folder/kelvarion.ini")" = "$expected_ini" ] || { cat "$folder/kelvarion.ini"; fail "settings file"; }

run_once -lang en -DEBUG > /dev/null || fail "second start did not end on SIGTERM"
grep -qx 'Lang=pl' "$folder/kelvarion.ini" || fail "the stored language was overridden"
grep -qx "THookHelpSystem.Create(\"$folder/kelvarion_pl.html\",\"\", 0)" "$folder/HHDebug.txt" || fail "help trace"
grep -qx 'THookHelpSystem.Destroy' "$folder/HHDebug.txt" || fail "help trace end"
grep -c '# Kelvarion log' "$folder/Log.txt" | grep -qx 1 || fail "the log was not rewritten"

# With no file allowed to grow, every write fails instead of ending the program.
FILE_LIMIT=0 run_once -lang en > /dev/null || fail "under ulimit -f 0 the program did not end with status 0"
echo "program start and stop: all checks passed"
