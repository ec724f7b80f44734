# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the test scripts: starts a private Xvfb on a display number that the X server
# picks itself, and exports DISPLAY. `xvfb-run -a` picks a number by looking for lock files,
# and a program can then reach a server of an earlier run that is still going away; Qt aborts
# when its display breaks. The caller ends the server: kill "$VIRTUAL_DISPLAY_PID".
#
#   start_virtual_display WIDTHxHEIGHTxDEPTH
start_virtual_display() {
    local fd number
    exec {fd}< <(Xvfb -displayfd 1 -screen 0 "$1" -nolisten tcp 2>/dev/null & echo "pid $!")
    read -r _ VIRTUAL_DISPLAY_PID <&"$fd"
    read -r number <&"$fd" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$number
}
