#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private PulseAudio server for the tests that play real sound.
#
#   pulse-test-server.sh start|stop <folder> [clock rate, default 44100]
#
# The server lives in <folder>: its runtime folder <folder>/runtime (clients reach it with
# XDG_RUNTIME_DIR=<folder>/runtime, which also makes ALSA's "default" device route to it),
# its log <folder>/pulse.log and its configuration. It plays into a null sink named
# "kelvarion_test" whose monitor source the tests record. Sample format float32 so that the
# recording is not quantised again after the sink volume. Works as root (CI runs as root).
#
# A null sink that nobody asks for low latency renders up to two seconds ahead; a new stream
# then rewinds it, and its monitor loses the start of the new sound. A silent loopback stream
# that asks for 20 ms keeps the sink rendering in small steps, as a sound card would, so that
# a rewind never reaches back past the 18 ms of silence in front of each tone.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop <folder> [clock rate]" >&2
    exit 2
}

[ $# -eq 2 ] || [ $# -eq 3 ] || usage
action=$1
folder=$(mkdir -p "$2" && cd "$2" && pwd)
rate=${3:-44100}
runtime=$folder/runtime
pid_file=$runtime/pulse/pid
sink=kelvarion_test

# Only this server counts, never one the caller's environment points to.
export XDG_RUNTIME_DIR=$runtime
# pactl's words, which the readiness check reads, in English whatever the caller's locale.
export LC_ALL=C
export XDG_CONFIG_HOME=$folder/config
unset PULSE_SERVER PULSE_RUNTIME_PATH PULSE_STATE_PATH

server_pid() {
    [ -f "$pid_file" ] || return 1
    local pid
    pid=$(tr -dc '0-9' <"$pid_file")
    # A file left by a server that died names a number that another process may have by now.
    [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = pulseaudio ] || return 1
    echo "$pid"
}

answers() {
    timeout 5 pactl info >/dev/null 2>&1
}

# Until the loopback has joined, the sink renders far ahead; the server is ready once it has
# caught up.
sink_latency_usec() {
    timeout 5 pactl list sinks 2>/dev/null | sed -n 's/^[[:space:]]*Latency: \([0-9]*\) usec.*/\1/p' | head -n 1
}

stop_server() {
    local pid
    pid=$(server_pid) || {
        rm -f "$pid_file"
        return 0
    }
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "pulseaudio $pid did not stop; killing it" >&2
        kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$pid_file"
}

start_server() {
    # A server left over from an interrupted run is replaced, so that its state cannot leak in.
    stop_server
    mkdir -p "$runtime" "$XDG_CONFIG_HOME"
    chmod 700 "$runtime"
    : >"$folder/pulse.log"
    # As root the daemon only warns that it is meant for users and runs as a per-user server
    # (--system=no). No default script (-n): nothing touches real hardware, only the modules
    # below load. A dead session bus address keeps it from autolaunching a D-Bus daemon.
    DBUS_SESSION_BUS_ADDRESS=unix:path=$folder/no-bus \
        timeout 20 pulseaudio --system=no -n --daemonize=yes --use-pid-file=yes \
        --exit-idle-time=-1 --disallow-exit=yes --realtime=no --high-priority=no \
        --log-target="file:$folder/pulse.log" \
        --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=$sink format=float32le rate=$rate channels=2 sink_properties=device.description=Kelvarion_test" \
        --load="module-null-source source_name=kelvarion_silence format=float32le rate=$rate channels=2" \
        --load="module-loopback source=kelvarion_silence sink=$sink latency_msec=20 source_dont_move=1 sink_dont_move=1" \
        </dev/null >/dev/null 2>&1 || {
        echo "pulseaudio did not start; its log:" >&2
        cat "$folder/pulse.log" >&2
        return 1
    }
    for _ in $(seq 100); do
        if answers; then
            pactl set-default-sink "$sink"
            pactl set-default-source "$sink.monitor"
            break
        fi
        sleep 0.1
    done
    for _ in $(seq 100); do
        local latency
        latency=$(sink_latency_usec)
        if [ -n "$latency" ] && [ "$latency" -lt 50000 ]; then
            echo "pulseaudio $(server_pid) serves $runtime at $rate Hz with the null sink $sink"
            return 0
        fi
        sleep 0.1
    done
    echo "pulseaudio does not answer, or its sink does not catch up; its log:" >&2
    cat "$folder/pulse.log" >&2
    stop_server
    return 1
}

case $action in
start) start_server ;;
stop) stop_server ;;
*) usage ;;
esac
