#!/usr/bin/env bash
# End to end: one program per session, the real Linux program seen from outside. A second
# launch while the start-up window is up and a third with the player minimized make no
# window, icon or page request of their own and end with code 0; the third brings the
# player back to the front. "X" still ends the first with 0. A launch as the first is
# ending starts normally once it has gone, and so does one after the first was killed.
# Prints how long a second launch takes to end.
#   instance.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin instance "$build_dir" desktop

counts() {  # start-up windows, players, icons, page requests
    echo "$(windows_titled "$splash") $(windows_titled "$player") $(icons) $(gets)"
}
active_is_player() {
    local active
    active=$(xdotool getactivewindow 2>/dev/null) || return 1
    [ "$(xdotool getwindowname "$active")" = "$player" ]
}

serve_station "$port" "$station_dir"

echo "== a second launch while the start-up window is up"
launch
first=$launched
poll 20 is_viewable "$splash" || true
check "the first program's start-up window is up" "$(is_viewable "$splash" && echo yes)" yes
second_launch linux_second_launch_ms "during the start-up window"
check "the player is not up yet" "$(windows_titled "$player")" 0
check "one start-up window and one icon, nothing requested" "$(counts)" "1 0 1 0"

echo "== a third launch with the player minimized"
poll 20 is_viewable "$player" || true
check "the first program's player is up" "$(is_viewable "$player" && echo yes)" yes
minimize_player || true
check "the player is minimized" "$(player_hidden && echo yes)" yes
second_launch linux_second_launch_ms "with the player up"
poll 5 active_is_player || true
check "the player is restored" "$(player_hidden && echo hidden || window_facts "$player" | awk '{print $5}')" IsViewable
check "the player is the active window" "$(active_is_player && echo yes)" yes
sleep 2.5  # past one more hand-off tick of the first program
check "one start-up window, one player, one icon and one page request" "$(counts)" "1 1 1 1"
check "the first program runs on" "$(exited "$first" && echo ended || echo running)" running

echo "== X on the first, and a launch as it ends"
# Launched first, so that it finds the first program still there and waits for it.
launch
next=$launched
sleep 0.25
click_x "$player"
wait_for_exit "$first"
check "X ends the first program with code 0" "$code" 0
poll 20 is_viewable "$splash" || true
check "the launch made as it ended starts normally" \
    "$(exited "$next" && echo ended || (is_viewable "$splash" && echo started))" started

echo "== a launch after the program was killed"
poll 20 is_viewable "$player" || true
kill -9 "$next"
wait "$next" 2>/dev/null || true
poll 5 icons_are 0 || true
launch
last=$launched
poll 20 is_viewable "$splash" || true
check "the next launch starts normally" \
    "$(exited "$last" && echo ended || (is_viewable "$splash" && echo started))" started
poll 20 is_viewable "$player" || true
click_x "$player"
wait_for_exit "$last"
check "and X ends it with code 0" "$code" 0
check "no window or icon is left" "$(windows_titled "$splash") $(windows_titled "$player") $(icons)" "0 0 0"
check "no error was printed" "$(program_errors | grep -v 'Gdk-CRITICAL' | grep -ci 'error\|critical' || true)" 0

echo "end-to-end linux instance: $failures failed"
[ "$failures" -eq 0 ]
