#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the id of the first visible window whose name holds "Kelvarion", of process $1 when it
# is given, once it has shown (ten seconds at most); prints nothing when none shows.
process=()
[ -n "${1:-}" ] && process=(--pid "$1")
for _ in $(seq 100); do
    id=$(xdotool search "${process[@]}" --onlyvisible --name "Kelvarion" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; exit 0; }
    sleep 0.1
done
