#!/usr/bin/env bash
# Benchmark: CPU and memory of the Linux program's whole process tree (it and the web
# engine's processes) while the start-up window sweeps, then with the player up and the
# station page loaded (no sound server: tests/e2e/linux/sound.sh measures it
# playing), beside a bare GTK window. Prints figures; fails only when something could not
# be measured.
#   linux_cpu.sh PROGRAM FLOOR BUILD_DIR STATION_DIR PORT [SECONDS]
set -euo pipefail
program=$1 floor=$2 build_dir=$3 station_dir=$4 port=$5 seconds=${6:-10}
source "$(dirname "$0")/../harness/harness.sh"
harness_begin bench-linux "$build_dir" desktop
megabytes() { echo $(($(tree_kb "$1" "$2") / 1024)); }

"$floor" &
program_pid=$!
poll 10 is_viewable "Zavi Floor" || { echo "FAILED: no floor window"; exit 1; }
sleep 0.5
echo "figure: linux_cpu_floor=$(tree_cpu_rate "$program_pid" "$seconds") s/s (a bare GTK window; rss $(megabytes "$program_pid" Rss) MB)"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true

serve_station "$port" "$station_dir"
program_log=/dev/null launch
poll 20 is_viewable "$splash" || { echo "FAILED: no start-up window"; exit 1; }
# The start-up window is up about two seconds, sweeping all the while, before the player.
sleep 0.3
echo "figure: linux_cpu_sweeping=$(tree_cpu_rate "$program_pid" 1.5) s/s (start-up window up and sweeping, 1.5 s; rss $(megabytes "$program_pid" Rss) MB)"
poll 20 is_viewable "$player" || { echo "FAILED: no player"; exit 1; }
sleep 2
echo "figure: linux_cpu_steady=$(tree_cpu_rate "$program_pid" "$seconds") s/s (player up with the page, start-up window hidden, no sound)"
echo "figure: linux_memory_steady=rss $(megabytes "$program_pid" Rss) MB, pss $(megabytes "$program_pid" Pss) MB (whole process tree, player up, no sound)"
click_x "$player"
wait_for_exit "$program_pid"
program_pid=
check "the program ended with code 0 after X" "$code" 0
[ "$failures" -eq 0 ]
