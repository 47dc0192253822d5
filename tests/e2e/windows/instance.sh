#!/usr/bin/env bash
# End to end: one program per session, the real executable under Wine seen from outside.
# A second launch while the start-up window is up and a third with the player minimized
# make no window, icon or page request of their own and end with code 0; the third
# brings the player back to the front. "X" still ends the first with 0. A launch as the
# first is ending starts normally once it has gone, and so does one after the first was
# killed. Prints how long a second launch takes to end.
#   instance.sh PROGRAM.exe PROBE.exe BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 probe=$2 build_dir=$3 station_dir=$4 port=$5
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin instance "$build_dir" wine

serve_station "$port" "$station_dir"

echo "== a second launch while the start-up window is up"
launch
first=$launched
poll 20 visible "$splash" || true
check "the first program's start-up window is up" "$(count "$splash")" "1 1 0 0"
second_launch second_launch_ms "during the start-up window"
check "one start-up window" "$(count "$splash" | awk '{print $1}')" 1
check "one icon in the notification area" "$(docked_icons_settled 1)" 1

echo "== a third launch with the player minimized"
poll 20 visible "$player" || true
check "the first program's player is up" "$(count "$player" | awk '{print $1, $2}')" "1 1"
probe minimize "$player" >/dev/null
poll 5 eval '[ "$(count "$player" | awk "{print \$3}")" = 1 ]' || true
check "the player is minimized" "$(count "$player" | awk '{print $3}')" 1
second_launch second_launch_ms "with the player up"
check "the player is restored and in the foreground" "$(count "$player")" "1 1 0 1"
sleep 2.5  # past one more hand-off tick of the first program
check "one start-up window (hidden) and one player" \
    "$(count "$splash" | awk '{print $1, $2}') $(count "$player" | awk '{print $1}')" "1 0 1"
check "one icon in the notification area" "$(docked_icons_settled 1)" 1
check "one station page request" "$(gets)" 1
check "the first program runs on" "$(exited "$first" && echo ended || echo running)" running

echo "== X on the first, and a launch as it ends"
# Launched first, so that it finds the first program still there and waits for it. "X" is
# clicked as a user clicks it, at once: the probe would first take Wine's start, up to a
# second on a new prefix, longer than the launch waits.
read -r player_x player_y _ < <(window_facts "$player")
launch
next=$launched
sleep 0.4
xdotool mousemove $((player_x + 12)) $((player_y + 6)) click 1
wait_for_exit "$first"
check "X ends the first program with code 0" "$code" 0
poll 20 visible "$splash" || true
check "the launch made as it ended starts normally" \
    "$(exited "$next" && echo ended || (visible "$splash" && echo started))" started

echo "== a launch after the program was killed"
poll 20 visible "$player" || true
kill -9 "$next"
wait "$next" 2>/dev/null || true
poll 10 eval '[ "$(count "$player" | awk "{print \$1}")" = 0 ]' || true
launch
last=$launched
poll 20 visible "$splash" || true
check "the next launch starts normally" \
    "$(exited "$last" && echo ended || (visible "$splash" && echo started))" started
poll 20 visible "$player" || true
probe click "$player" X >/dev/null || true
wait_for_exit "$last"
check "and X ends it with code 0" "$code" 0
check "no window is left" "$(count "$splash" | awk '{print $1}') $(count "$player" | awk '{print $1}')" "0 0"
check "no icon is left in the notification area" "$(docked_icons_settled 0)" 0

echo "end-to-end instance: $failures failed"
[ "$failures" -eq 0 ]
