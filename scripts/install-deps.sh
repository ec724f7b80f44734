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
    xvfb xauth xdotool
    poppler-utils imagemagick
    dpkg-dev file lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin librsvg2-bin
    locales-all
    clang libclang-rt-14-dev lld clang-format
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
