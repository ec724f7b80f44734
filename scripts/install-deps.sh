#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Kelvarion needs to build, run and test; only what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libasound2-dev libasound2-plugins
    fonts-dejavu-core
    googletest libgtest-dev libbenchmark-dev
    pulseaudio pulseaudio-utils sox
    pipewire pipewire-bin libpipewire-0.3-modules wireplumber dbus-daemon
    xvfb xauth xdotool
    poppler-utils imagemagick
    dpkg-dev file lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin librsvg2-bin
    locales-all
    clang libclang-rt-14-dev lld clang-format
)

# PipeWire's ALSA plugin, for the audio tests' PipeWire server. Debian's pipewire-alsa package
# would remove pulseaudio, which the other half of the audio tests needs, and would make PipeWire
# the machine's ALSA default; its plugin files are unpacked beside the tests instead, where only
# the tests' own ALSA configuration reaches them.
pipewire_alsa=/usr/local/lib/kelvarion-test/pipewire-alsa

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

need_plugin=
if ! dpkg-query -W -f='${Status}' pipewire-alsa 2>/dev/null | grep -q 'install ok installed' &&
    [ ! -d "$pipewire_alsa/usr" ]; then
    need_plugin=1
fi

if [ ${#missing[@]} -eq 0 ] && [ -z "$need_plugin" ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ -n "$need_plugin" ]; then
    echo "Unpacking PipeWire's ALSA plugin into $pipewire_alsa"
    download=$(mktemp -d)
    trap 'rm -rf "$download"' EXIT
    chmod 755 "$download"
    (cd "$download" && apt-get download pipewire-alsa)
    "${sudo[@]}" mkdir -p "$pipewire_alsa"
    "${sudo[@]}" dpkg-deb -x "$download"/pipewire-alsa_*.deb "$pipewire_alsa"
fi
