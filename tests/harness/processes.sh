# Sourced by harness.sh: what a process tree costs, read from /proc.

# CPU time a Linux process has used so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# A process and its children (for the Linux program: the web engine's processes).
tree_pids() {  # the process and all its descendants (a sandboxed web process is a grandchild)
    local child
    echo "$1"
    for child in $(pgrep -P "$1" || true); do tree_pids "$child"; done
}
tree_ticks() {
    local total=0 pid
    for pid in $(tree_pids "$1"); do total=$((total + $(cpu_ticks "$pid" 2>/dev/null || echo 0))); done
    echo "$total"
}
# A process's memory, in KiB: Rss, Pss, Private (its own pages alone, which another
# program mapping the same libraries does not change, as it changes Pss; though a library
# page becomes private when the others mapping it end), or Private_Dirty (the pages it
# wrote itself).
process_kb() {  # process_kb PID Rss|Pss|Private|Private_Dirty
    awk -v k="$2" '$1 == k ":" || (k == "Private" && $1 ~ /^Private_/) {n += $2}
        END {print n + 0}' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0
}
# The same for the process and all its descendants.
tree_kb() {  # tree_kb PID Rss|Pss|Private|Private_Dirty
    local total=0 pid
    for pid in $(tree_pids "$1"); do
        total=$((total + $(process_kb "$pid" "$2")))
    done
    echo "$total"
}
# CPU seconds per wall second of a process tree over SECONDS.
cpu_rates() {  # cpu_rates PID SECONDS: "TREE OWN", the CPU seconds per second of the process tree and of the process
    local t0 o0 w0 t1 o1 w1
    t0=$(tree_ticks "$1") o0=$(cpu_ticks "$1" 2>/dev/null || echo 0) w0=$(date +%s%3N)
    sleep "$2"
    t1=$(tree_ticks "$1") o1=$(cpu_ticks "$1" 2>/dev/null || echo 0) w1=$(date +%s%3N)
    awk -v t=$((t1 - t0)) -v o=$((o1 - o0)) -v hz="$(getconf CLK_TCK)" -v ms=$((w1 - w0)) \
        'BEGIN {printf "%.6f %.6f", t / hz / (ms / 1000), o / hz / (ms / 1000)}'
}
tree_cpu_rate() {  # tree_cpu_rate PID SECONDS
    cpu_rates "$1" "$2" | awk '{printf "%.3f", $1}'
}
