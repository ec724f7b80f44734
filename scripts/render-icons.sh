#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program's icon from its SVGs into the PNG sizes of the hicolor theme; the PNGs
# are kept in the repository, so only a change of an SVG needs this (and librsvg2-bin). The
# small sizes have a drawing of their own, on whole pixels, so that they stay legible.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    source=org.example.kelvarion.svg
    [ "$size" -le 24 ] && source=org.example.kelvarion-small.svg
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$source" -o "hicolor/${size}x${size}/apps/org.example.kelvarion.png"
done
