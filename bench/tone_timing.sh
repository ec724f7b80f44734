#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays 20 test tones from a 1000 ms timer into a private PulseAudio server, records them and
# prints how evenly their onsets are spaced: once all on one side, as a hearing test plays them,
# and once changing sides with every tone, as the calibration window can.
#
#   bench/tone_timing.sh [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
program=$build/bench/kelvarion_tone_timing
folder=$build/tone-timing-pulse
if [ ! -x "$program" ]; then
    echo "$program is missing: build first (cmake --build $build)" >&2
    exit 1
fi
"$root/scripts/pulse-test-server.sh" start "$folder"
trap '"$root/scripts/pulse-test-server.sh" stop "$folder"' EXIT
unset PULSE_SERVER
for run in same-side alternating; do
    XDG_RUNTIME_DIR=$folder/runtime QT_QPA_PLATFORM=offscreen timeout 120 "$program" "$run"
done
