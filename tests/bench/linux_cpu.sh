#!/usr/bin/env bash
# Benchmark: CPU and memory of the Linux program's whole process tree (it and the web
# engine's processes) while the start-up window sweeps, then with the player up and the
# station page loaded (no sound server: tests/e2e/linux_sound_e2e.sh measures it
# playing), beside a bare GTK window. Prints figures; fails only when something could not
# be measured.
#   linux_cpu.sh PROGRAM FLOOR BUILD_DIR STATION_DIR PORT [SECONDS]
set -euo pipefail
program=$1 floor=$2 build_dir=$3 station_dir=$4 port=$5 seconds=${6:-10}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/common.sh"
source "$here/../../scripts/desktop-session.sh"
desktop_start

splash="Zavi Radio" player="Velostan Zavi Radio Player"
work=$(mktemp -d "$build_dir/bench-linux.XXXXXX")
server_pid= pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
    desktop_stop
}
trap cleanup EXIT
megabytes() { echo $(($(tree_kb "$1" "$2") / 1024)); }

"$floor" &
pid=$!
poll 10 is_viewable "Zavi Floor" || { echo "FAILED: no floor window"; exit 1; }
sleep 0.5
echo "figure: linux_cpu_floor=$(tree_cpu_rate "$pid" "$seconds") s/s (a bare GTK window; rss $(megabytes "$pid" Rss) MB)"
kill "$pid"
wait "$pid" 2>/dev/null || true

/usr/bin/python3 "$here/../e2e/station_server.py" "$port" "$station_dir" "$work/requests.log" &
server_pid=$!
poll 10 has_line "$work/requests.log" listening || { echo "FAILED: station server"; exit 1; }
"$program" 2>/dev/null &
pid=$!
poll 20 is_viewable "$splash" || { echo "FAILED: no start-up window"; exit 1; }
# The start-up window is up about two seconds, sweeping all the while, before the player.
sleep 0.3
echo "figure: linux_cpu_sweeping=$(tree_cpu_rate "$pid" 1.5) s/s (start-up window up and sweeping, 1.5 s; rss $(megabytes "$pid" Rss) MB)"
poll 20 is_viewable "$player" || { echo "FAILED: no player"; exit 1; }
sleep 2
echo "figure: linux_cpu_steady=$(tree_cpu_rate "$pid" "$seconds") s/s (player up with the page, start-up window hidden, no sound)"
echo "figure: linux_memory_steady=rss $(megabytes "$pid" Rss) MB, pss $(megabytes "$pid" Pss) MB (whole process tree, player up, no sound)"
click_x "$player"
wait_for_exit "$pid"
pid=
check "the program ended with code 0 after X" "$code" 0
[ "$failures" -eq 0 ]
