#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder, checks it with Debian's own tools, unpacks
# it into a temporary root (never installing it) and runs the unpacked program as a new user
# would: a fresh HOME, an example measurement given on the command line.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }
window=$(cd "$(dirname "$0")/../support" && pwd)/program_window.sh

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.txt") || { cat "$work/cpack.txt"; fail "cpack"; }
debs=("$work"/out/kelvarion_*_"$(dpkg --print-architecture)".deb)
[ -f "${debs[0]}" ] || fail "no kelvarion_<version>_<arch>.deb"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "section"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "dependencies not computed: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Maintainer | grep -q '<kelvarion@example.org>' || fail "maintainer"

lintian --fail-on error --suppress-tags binary-without-manpage "$deb" > "$work/lintian.txt" 2>&1 ||
    { cat "$work/lintian.txt"; fail "lintian"; }
grep '^E:' "$work/lintian.txt" && fail "lintian errors"

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
desktop=$(desktop-file-validate "$share/applications/org.example.kelvarion.desktop" 2>&1) || true
[ -z "$desktop" ] || { echo "$desktop"; fail "desktop-file-validate"; }
appstreamcli validate --no-net --pedantic "$share/metainfo/org.example.kelvarion.metainfo.xml" > "$work/appstream.txt" ||
    { cat "$work/appstream.txt"; fail "appstreamcli validate"; }
grep -qx 'License: GPL-3+' "$share/doc/kelvarion/copyright" || fail "the copyright file names no licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$share/metainfo/org.example.kelvarion.metainfo.xml" ||
    fail "the AppStream data names no licence"
# Every source, header, script and CMake file of a checkout names its licence at the top.
if git -C "$source" rev-parse --git-dir > /dev/null 2>&1; then
    unlicensed=$(cd "$source" && git ls-files '*.cpp' '*.h' '*.sh' CMakeLists.txt '*/CMakeLists.txt' Makefile |
        while read -r file; do
            head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$file"
        done)
    [ -z "$unlicensed" ] || fail "no SPDX licence line in: $unlicensed"
fi
for size in 16 32 48 256; do
    [ -f "$share/icons/hicolor/${size}x${size}/apps/org.example.kelvarion.png" ] || fail "no icon of $size px"
done

# Starts the unpacked program with the given HOME (and more variables), takes a screenshot once
# its window has shown, then ends it with SIGTERM; fails unless it ends, with status 0 when it
# was started directly. "open FILE" starts it as a double click on FILE would, through the
# unpacked desktop entry and file types. What the program writes to its standard error is shown
# when it fails.
source "$(dirname "$window")/virtual_display.sh"
start_virtual_display 1280x1024x24
trap 'kill "$VIRTUAL_DISPLAY_PID"; rm -rf "$work"' EXIT
run() {
    local home=$1 shot=$2
    shift 2
    env -i PATH="$root/usr/bin:$PATH" HOME="$home" XDG_DATA_DIRS="$work/xdg:/usr/share" QT_QPA_PLATFORM=xcb \
        DISPLAY="$DISPLAY" "${RUN_ENV[@]}" bash -c '
        if [ "$3" = open ]; then
            gio open "$4"
            id=$("$2")
            pid=$(xdotool getwindowpid "$id")
        else
            kelvarion -lang en 2>"$5" &
            pid=$!
            id=$("$2" "$pid")
        fi
        [ -n "$id" ] || { echo "no window" >&2; exit 1; }
        sleep 1
        import -window root "$1"
        kill -TERM "$pid"
        [ "$3" = open ] || { wait "$pid"; exit; }
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || exit 0
            sleep 0.1
        done
        exit 1' _ "$shot" "$window" "${1:-}" "${2:-}" "$work/stderr.txt" || { cat "$work/stderr.txt" 2>/dev/null; return 1; }
}

# Pixels of the colour of the first measurement's curve.
curve_pixels() {
    convert "$1" -fill black +opaque "rgb(255,127,80)" -fill white -opaque "rgb(255,127,80)" \
        -format "%[fx:round(mean*w*h)]" info:
}

# The desktop's view of the unpacked files, as the installation's triggers would make it.
mkdir -p "$work/xdg/mime"
cp -r "$share/applications" "$work/xdg/"
cp -r "$share/mime/packages" "$work/xdg/mime/"
update-mime-database "$work/xdg/mime"
update-desktop-database "$work/xdg/applications"

home=$work/home
mkdir "$home"
RUN_ENV=()
run "$home" "$work/shot.png" open "$source/examples/anna-nowak.aud" ||
    fail "a double click on a measurement did not start the program, or it did not end"
settings=$home/.config/kelvarion/kelvarion.ini
log=$home/.local/state/kelvarion/Log.txt
grep -q '^Lang=' "$settings" || fail "no settings in $settings"
grep -qx "Default Path=$home/Documents/Kelvarion" "$settings" || fail "data folder setting: $(grep Path "$settings")"
[ -d "$home/Documents/Kelvarion" ] || fail "no data folder"
grep -q 'Folders: installed' "$log" || fail "the log does not say installed"
grep -q "Language files: $share/kelvarion/res\$" "$log" || fail "language folder in the log"
! grep -q 'No string\|is empty\|doesn.t exits' "$log" || { cat "$log"; fail "language files or help not found"; }
[ -z "$(find "$root" -name kelvarion.ini -o -name Log.txt -o -name Data)" ] ||
    fail "the program wrote into its installation"
[ "$(curve_pixels "$work/shot.png")" -gt 20 ] || fail "the example measurement was not drawn"

# A settings folder that cannot be made: the program runs and keeps its settings in memory.
home=$work/home2
mkdir "$home"
touch "$work/not-a-folder"
RUN_ENV=(XDG_CONFIG_HOME="$work/not-a-folder")
run "$home" "$work/shot2.png" || fail "no clean end without a settings folder"
grep -q "Settings: none ($work/not-a-folder: a file that is not a folder is in the way)" \
    "$home/.local/state/kelvarion/Log.txt" || fail "the log does not say why the settings are not kept"
[ -z "$(find "$home" -name kelvarion.ini)" ] || fail "settings written although they could not be"
echo "package: all checks passed"
