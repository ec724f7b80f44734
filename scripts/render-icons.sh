#!/usr/bin/env bash
# Renders the program's icon from its SVG into the PNG sizes of the hicolor theme; the PNGs
# are kept in the repository, so only a change of the SVG needs this (and librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" org.example.kelvarion.svg -o "hicolor/${size}x${size}/apps/org.example.kelvarion.png"
done
