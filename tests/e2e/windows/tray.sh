#!/usr/bin/env bash
# End to end: the Windows program's notification-area icon under Wine, clicked from
# outside. Wine docks the icon in the panel, but clicks there do not reach the program
# here (its XEmbed icons in trayer); the probe sends the program what the shell sends for
# a click, from another process: the callback message with the icon's id and the mouse
# message. A left click during the start-up window changes nothing; with the player
# minimized it brings it back; a right click opens the menu, which closes with Escape and
# changes nothing, and whose "Quit" ends the program with code 0 and withdraws the icon.
#   tray.sh PROGRAM.exe PROBE.exe BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 probe=$2 build_dir=$3 station_dir=$4 port=$5
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin tray "$build_dir" wine

minimized() { [ "$(count "$player" | awk '{print $3}')" = 1 ]; }
click_icon() {  # click_icon 1|3: the shell's report of a left or right click
    probe report "$splash" 1 "$([ "$1" = 1 ] && echo 0x202 || echo 0x205)" >/dev/null
}

serve_station "$port" "$station_dir"

echo "== during the start-up window"
launch
poll 20 visible "$splash" || true
poll 10 eval '[ -n "$(docked_icon)" ]' || true
check "the icon is docked" "$(docked_icons)" 1
click_icon 1
sleep 0.3
check "a click on it brings no player" "$(count "$player" | awk '{print $1}')" 0
check "the start-up window is still up" "$(count "$splash" | awk '{print $2}')" 1

echo "== with the player up"
poll 20 visible "$player" || true
probe minimize "$player" >/dev/null
poll 5 minimized || true
check "the player is minimized" "$(minimized && echo yes)" yes
click_icon 1
poll 5 eval '! minimized' || true
check "a left click brings it back" "$(count "$player" | awk '{print $2, $3}')" "1 0"
click_icon 3
check "a right click opens the menu; Escape closes it" "$(probe menu escape | head -n 1)" found=1
sleep 0.5
check "and nothing else happens" "$(exited "$program_pid" && echo ended || echo running)" running
click_icon 3
check "the menu opens again" "$(probe menu up return | head -n 1)" found=1
wait_for_exit "$program_pid"
program_pid=
check "\"Quit\" ends the program with code 0" "$code" 0
check "and the icon is withdrawn" "$(docked_icons_settled 0)" 0

echo "end-to-end tray: $failures failed"
[ "$failures" -eq 0 ]
