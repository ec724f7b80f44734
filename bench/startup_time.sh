#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the program's start to its first window against a bare Qt main window with a menu,
# both started as processes on a private virtual X display, and prints the medians.
#
#   bench/startup_time.sh [build folder, default build] [runs, default 9]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-9}
for program in kelvarion bench/kelvarion_startup_time bench/kelvarion_bare_window; do
    if [ ! -x "$build/$program" ]; then
        echo "$build/$program is missing: run make bench first" >&2
        exit 1
    fi
done
# A copy of its own, so that the program starts with its files beside it and no earlier settings.
folder=$(mktemp -d)
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
trap 'kill "$xvfb"; rm -rf "$folder"' EXIT
cp "$build/kelvarion" "$folder/"
cp -r "$build/res" "$folder/"
cp "$build"/*.html "$build"/*.css "$folder/" 2>/dev/null || true
read -r display <&3
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
# The first start writes the settings and the log; only later starts are timed.
"$build/bench/kelvarion_startup_time" 1 "$folder/kelvarion" -- "$build/bench/kelvarion_bare_window" >/dev/null
"$build/bench/kelvarion_startup_time" "$runs" "$folder/kelvarion" -- "$build/bench/kelvarion_bare_window"
