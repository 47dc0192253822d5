#!/usr/bin/env bash
# Benchmark: CPU the program uses under Wine (its own process, the wineserver's apart) in
# its first seconds (start-up window, hand-off, player), then with the player up and the
# start-up window hidden (its sweep paused), then with the start-up window shown again
# over it (sweeping afresh), beside the floor of a plain program that only shows a window;
# memory with the player up; and how long one sweep takes. Prints figures; fails only
# when something could not be measured.
#   sweep_cpu.sh PROGRAM.exe FLOOR.exe PROBE.exe BUILD_DIR [SECONDS]
set -euo pipefail
program=$1 floor=$2 probe=$3 build_dir=$4 seconds=${5:-10}
source "$(dirname "$0")/../harness/harness.sh"
harness_begin bench-sweep "$build_dir" wine
ticks_per_second=$(getconf CLK_TCK)

# Starts EXE, waits for its window TITLE, and leaves its pid in $started_pid.
start_and_wait() {
    local exe=$1 title=$2
    "$WINE64" "$exe" &
    started_pid=$!
    "$WINE64" "$probe" wait "$title" 20000 >"$work/wait.txt" || {
        echo "FAILED: no window '$title'"
        exit 1
    }
    sleep 0.5  # past the start-up work, into the steady state
}

# CPU seconds per wall second of process PID (and of the wineserver) over $seconds.
# Prints "process wineserver".
cpu_rate() {
    local pid=$1 server p0 s0 t0 p1 s1 t1
    # This prefix's wineserver, not another Wine session's on the machine.
    for server in $(pgrep wineserver); do
        tr '\0' '\n' <"/proc/$server/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && break
    done
    p0=$(cpu_ticks "$pid") s0=$(cpu_ticks "$server") t0=$(date +%s%N)
    sleep "$seconds"
    p1=$(cpu_ticks "$pid") s1=$(cpu_ticks "$server") t1=$(date +%s%N)
    awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v ns=$((t1 - t0)) -v hz="$ticks_per_second" \
        'BEGIN {printf "%.3f %.3f\n", p / hz / (ns / 1e9), s / hz / (ns / 1e9)}'
}

stop() {  # stop PID TITLE
    "$WINE64" "$probe" close "$2" >/dev/null || true
    poll 10 exited "$1" || kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

start_and_wait "$floor" "Zavi Floor"
read -r floor_cpu floor_server <<<"$(cpu_rate "$started_pid")"
stop "$started_pid" "Zavi Floor"

start_and_wait "$program" "Zavi Radio"
pid=$started_pid
read -r first_cpu first_server <<<"$(cpu_rate "$pid")"
read -r steady_cpu steady_server <<<"$(cpu_rate "$pid")"
rss_mb=$(($(tree_kb "$pid" Rss) / 1024)) pss_mb=$(($(tree_kb "$pid" Pss) / 1024))
# The hidden start-up window does not sweep; shown again, it sweeps as at the start.
"$WINE64" "$probe" show "Zavi Radio" >/dev/null
"$WINE64" "$probe" sweep "Zavi Radio" 5000 >"$work/sweep.txt" || true
read -r shown_cpu shown_server <<<"$(cpu_rate "$pid")"
"$WINE64" "$probe" hide "Zavi Radio" >/dev/null
stop "$pid" "Velostan Zavi Radio Player"

echo "figure: cpu_floor=$floor_cpu s/s (a plain window; wineserver $floor_server)"
echo "figure: cpu_program=$first_cpu s/s (first ${seconds} s: start-up window, hand-off, player; wineserver $first_server)"
echo "figure: cpu_program_steady=$steady_cpu s/s (player up, start-up window hidden, not sweeping; wineserver $steady_server)"
echo "figure: cpu_program_shown_again=$shown_cpu s/s (start-up window shown again over the player, sweeping; wineserver $shown_server)"
echo "figure: memory_program_steady=rss $rss_mb MB, pss $pss_mb MB (the program's process under Wine, player up, no browser engine)"
sweeps=$(grep -c '^sweep_ms=' "$work/sweep.txt" || true)
if [ "$sweeps" -gt 0 ]; then
    echo "figure: sweep_ms=$(value sweep_ms "$work/sweep.txt" | sort -n | paste -sd ' ') (first value to last, $sweeps sweeps)"
fi
check "the probe timed at least one whole sweep" "$([ "$sweeps" -gt 0 ] && echo yes)" yes
[ "$failures" -eq 0 ]
