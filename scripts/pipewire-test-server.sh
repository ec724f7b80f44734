#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private PipeWire server for the tests that play real sound, the twin of pulse-test-server.sh.
#
#   pipewire-test-server.sh start|stop <folder> [clock rate, default 48000]
#
# The server lives in <folder>: PipeWire and WirePlumber with a D-Bus session of their own, their
# runtime folder <folder>/runtime, their logs and configuration. It plays into a null sink named
# "kelvarion_test" and speaks the PulseAudio protocol as well, so that pactl and parec read its
# volume and record its monitor as on PulseAudio. Clients reach it with
#   XDG_RUNTIME_DIR=<folder>/runtime ALSA_CONFIG_PATH=<folder>/alsa.conf
# where alsa.conf makes ALSA's "default" devices PipeWire's, for those clients only. Nothing
# touches real hardware: WirePlumber looks for no sound cards, cameras or Bluetooth.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop <folder> [clock rate]" >&2
    exit 2
}

[ $# -eq 2 ] || [ $# -eq 3 ] || usage
action=$1
folder=$(mkdir -p "$2" && cd "$2" && pwd)
rate=${3:-48000}
runtime=$folder/runtime
sink=kelvarion_test
daemons=(dbus-daemon pipewire wireplumber)

export XDG_RUNTIME_DIR=$runtime
export XDG_CONFIG_HOME=$folder/config
export XDG_STATE_HOME=$folder/state
export DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/bus
export LC_ALL=C
unset PULSE_SERVER PULSE_RUNTIME_PATH PULSE_STATE_PATH PIPEWIRE_REMOTE PIPEWIRE_RUNTIME_DIR

# PipeWire's ALSA plugin: installed by pipewire-alsa, or unpacked beside it by install-deps.sh.
find_alsa_plugins() {
    local multiarch
    multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
    for dir in /usr/lib/"$multiarch"/alsa-lib /usr/local/lib/kelvarion-test/pipewire-alsa/usr/lib/"$multiarch"/alsa-lib; do
        if [ -f "$dir/libasound_module_pcm_pipewire.so" ] && [ -f "$dir/libasound_module_ctl_pipewire.so" ]; then
            echo "$dir"
            return 0
        fi
    done
    echo "PipeWire's ALSA plugin is missing: run scripts/install-deps.sh" >&2
    return 1
}

daemon_pid() {
    local file=$folder/$1.pid pid
    [ -f "$file" ] || return 1
    pid=$(tr -dc '0-9' <"$file")
    # A file left by a daemon that died names a number that another process may have by now.
    [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ] || return 1
    echo "$pid"
}

# A daemon that has ended stays a zombie until whoever adopted it reaps it, which can take seconds.
alive() {
    local state
    state=$(sed -n 's/^State:[[:space:]]*\([A-Z]\).*/\1/p' "/proc/$1/status" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

stop_server() {
    local name pid
    # WirePlumber first, the bus last, so that neither complains of the other's going.
    for name in wireplumber pipewire dbus-daemon; do
        if pid=$(daemon_pid "$name"); then
            kill -TERM "$pid" 2>/dev/null || true
            for _ in $(seq 50); do
                alive "$pid" || break
                sleep 0.1
            done
            if alive "$pid"; then
                echo "$name $pid did not stop; killing it" >&2
                kill -KILL "$pid" 2>/dev/null || true
            fi
        fi
        rm -f "$folder/$name.pid"
    done
}

write_configuration() {
    local plugins=$1
    mkdir -p "$XDG_CONFIG_HOME/wireplumber/main.lua.d" "$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d" "$XDG_STATE_HOME"
    cat >"$folder/pipewire.conf" <<EOF
context.properties = {
    core.daemon = true
    core.name = pipewire-0
    link.max-buffers = 16
    default.clock.rate = $rate
    default.clock.allowed-rates = [ $rate ]
    default.clock.min-quantum = 16
}
context.spa-libs = {
    audio.convert.* = audioconvert/libspa-audioconvert
    support.* = support/libspa-support
}
context.modules = [
    { name = libpipewire-module-protocol-native }
    { name = libpipewire-module-metadata }
    { name = libpipewire-module-spa-node-factory }
    { name = libpipewire-module-client-node }
    { name = libpipewire-module-client-device }
    { name = libpipewire-module-access }
    { name = libpipewire-module-adapter }
    { name = libpipewire-module-link-factory }
    { name = libpipewire-module-session-manager }
    { name = libpipewire-module-protocol-pulse
        args = { server.address = [ "unix:native" ] }
    }
]
context.objects = [
    { factory = spa-node-factory
        args = {
            factory.name = support.node.driver
            node.name = Dummy-Driver
            node.group = pipewire.dummy
            priority.driver = 20000
        }
    }
    # The monitor carries the sink's volume, as PulseAudio's does.
    { factory = adapter
        args = {
            factory.name = support.null-audio-sink
            node.name = $sink
            node.description = Kelvarion_test
            media.class = Audio/Sink
            audio.format = F32
            audio.rate = $rate
            audio.position = [ FL FR ]
            monitor.channel-volumes = true
            object.linger = true
        }
    }
]
EOF
    # Devices, streams remembered across runs and Bluetooth stay off; the policy that links
    # streams to the default sink stays on.
    cat >"$XDG_CONFIG_HOME/wireplumber/main.lua.d/90-enable-all.lua" <<'EOF'
load_module("metadata")
default_access.enable()
device_defaults.enable()
EOF
    : >"$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d/90-enable-all.lua"
    cat >"$folder/alsa.conf" <<EOF
pcm_type.pipewire { lib "$plugins/libasound_module_pcm_pipewire.so" }
ctl_type.pipewire { lib "$plugins/libasound_module_ctl_pipewire.so" }
pcm.!default {
    type pipewire
    playback_node "-1"
    capture_node "-1"
    hint { show on description "Kelvarion's test PipeWire server" }
}
ctl.!default { type pipewire }
EOF
}

# Started apart from the caller's session, with its own process group; its pid kept.
launch() {
    local name=$1
    shift
    setsid "$@" </dev/null >>"$folder/$name.log" 2>&1 &
    echo $! >"$folder/$name.pid"
}

answers() {
    timeout 5 pactl info 2>/dev/null | grep -q "^Default Sink: $sink\$"
}

start_server() {
    # A server left over from an interrupted run is replaced, so that its state cannot leak in.
    stop_server
    local plugins
    plugins=$(find_alsa_plugins)
    rm -rf "$runtime" "$XDG_STATE_HOME"
    mkdir -p "$runtime"
    chmod 700 "$runtime"
    : >"$folder/dbus-daemon.log"
    : >"$folder/pipewire.log"
    : >"$folder/wireplumber.log"
    write_configuration "$plugins"
    launch dbus-daemon dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
    for _ in $(seq 50); do
        [ -S "$runtime/bus" ] && break
        sleep 0.1
    done
    launch pipewire pipewire -c "$folder/pipewire.conf"
    for _ in $(seq 50); do
        [ -S "$runtime/pipewire-0" ] && break
        sleep 0.1
    done
    launch wireplumber wireplumber
    for _ in $(seq 100); do
        if answers; then
            pactl set-default-source "$sink.monitor"
            echo "pipewire $(daemon_pid pipewire) serves $runtime at $rate Hz with the null sink $sink"
            return 0
        fi
        sleep 0.1
    done
    echo "pipewire does not answer, or has no default sink $sink; its logs:" >&2
    cat "$folder/pipewire.log" "$folder/wireplumber.log" >&2
    stop_server
    return 1
}

case $action in
start) start_server ;;
stop) stop_server ;;
*) usage ;;
esac
