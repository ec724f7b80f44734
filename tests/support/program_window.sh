#!/usr/bin/env bash
# Prints the id of the first visible window of process $1 whose name holds "Kelvarion", once it
# has shown (ten seconds at most); prints nothing when none shows.
for _ in $(seq 100); do
    id=$(xdotool search --pid "$1" --onlyvisible --name "Kelvarion" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; exit 0; }
    sleep 0.1
done
