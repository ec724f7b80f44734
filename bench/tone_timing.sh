#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays test tones from a 1000 ms timer into a private sound server, records them and prints how
# evenly their onsets are spaced, and whether any tone lost samples: once 20 tones all on one
# side, as a hearing test plays them, and once 80 tones changing sides with every tone, as the
# calibration window can.
#
#   bench/tone_timing.sh pulse|pipewire [clock rate, default 44100] [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
server=${1:-}
rate=${2:-44100}
case $server in
pulse | pipewire) ;;
*)
    echo "usage: $0 pulse|pipewire [clock rate] [build folder]" >&2
    exit 2
    ;;
esac
build=$(cd "${3:-$root/build}" && pwd)
program=$build/bench/kelvarion_tone_timing
folder=$build/tone-timing-$server
if [ ! -x "$program" ]; then
    echo "$program is missing: build first (cmake --build $build)" >&2
    exit 1
fi
"$root/scripts/$server-test-server.sh" start "$folder" "$rate"
trap '"$root/scripts/$server-test-server.sh" stop "$folder"' EXIT
unset PULSE_SERVER PIPEWIRE_LATENCY
export XDG_RUNTIME_DIR=$folder/runtime QT_QPA_PLATFORM=offscreen
if [ "$server" = pipewire ]; then
    export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$folder/alsa.conf
fi
status=0
for run in same-side alternating; do
    timeout 200 "$program" "$run" || status=1
done
exit $status
