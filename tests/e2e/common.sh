# Sourced by the end-to-end and benchmark scripts: the Wine session, checks, key=value
# reading and waits.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-session.sh"

# Joins the Wine session of the caller (test.sh starts one for every test), or starts one
# that ends with the script.
join_wine_session() {  # join_wine_session BUILD_DIR
    [ -n "${DISPLAY:-}" ] || { wine_session_start "$1"; trap wine_session_stop EXIT; }
    : "${WINEPREFIX:=$1/wineprefix}"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

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
