# Sourced by the end-to-end and benchmark scripts: checks, key=value reading and waits.

failures=0
check() {  # check DESCRIPTION ACTUAL EXPECTED
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAILED: $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}
value() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }  # value KEY FILE
poll() {  # poll SECONDS COMMAND...: true as soon as COMMAND is, false after SECONDS
    local seconds=$1 i
    shift
    for i in $(seq $((seconds * 20))); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
has_line() { grep -q "$2" "$1" 2>/dev/null; }  # has_line FILE PATTERN
exited() { ! kill -0 "$1" 2>/dev/null; }
# CPU time a Linux process has used so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Wine docks each notification icon into trayer's panel as a window of its explorer.exe.
docked_icons() {
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {inside = 1; next}
        inside && /^        0x/ {inside = 0}
        inside && /"explorer.exe"/ {n++}
        END {print n + 0}'
}
docked_icons_are() { [ "$(docked_icons)" = "$1" ]; }
# The shell docks and drops icons on its own time: wait up to 3 s for the expected count.
docked_icons_settled() {
    poll 3 docked_icons_are "$1" || true
    docked_icons
}
