#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file under src/ includes a header of a higher layer than its own folder's.
#
#   check-layers.sh <source folder>
set -euo pipefail

cd "${1:?usage: $0 <source folder>}/src"

# Lowest first. Folders on one line are one layer and may include each other: the log shows
# its one message in the user's language, and the language files log what they miss.
layers=(
    "platform"
    "log lang"
    "help widgets"
    "settings"
    "data"
    "sound"
    "charts"
    "hearing options"
    "shell"
)
# Includes upward that are meant: "<file or folder> <folder included>".
allowed=(
    # The data store drives the charts.
    "data charts"
)

declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[i]}; do
        rank[$folder]=$i
    done
done

is_allowed() {
    local file=$1 target=$2 entry
    for entry in "${allowed[@]}"; do
        local from=${entry% *}
        if [[ ${entry#* } == "$target" && ($file == "$from" || $file == "$from"/*) ]]; then
            return 0
        fi
    done
    return 1
}

failed=0
for folder in */; do
    folder=${folder%/}
    if [[ -z ${rank[$folder]+set} ]]; then
        echo "src/$folder has no layer: add it to $0" >&2
        failed=1
        continue
    fi
    while IFS=: read -r file line target; do
        [[ -n ${rank[$target]+set} ]] || continue
        if ((rank[$target] > rank[$folder])) && ! is_allowed "$file" "$target"; then
            echo "src/$file:$line includes $target/, a higher layer than $folder/" >&2
            failed=1
        fi
    done < <(grep -rnoE '^#include "[a-z]+/' "$folder" | sed -E 's/:#include "/:/; s#/$##')
done
if ((failed)); then
    exit 1
fi
echo "every include in src/ goes to its own layer or a lower one"
