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
# Waits up to 20 s for the program to end and leaves its exit code, or "timeout", in
# $code; one that does not end is killed. Not run in a subshell: only the shell that
# started a process can wait for it.
wait_for_exit() {
    code=timeout
    if poll 20 exited "$1"; then
        wait "$1" && code=0 || code=$?
    else
        kill "$1" 2>/dev/null || true
    fi
}
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
# The tree's memory, in KiB: Rss, Pss, or Private (its own pages alone, which another
# program mapping the same libraries does not change, as it changes Pss).
tree_kb() {  # tree_kb PID Rss|Pss|Private
    local total=0 pid
    for pid in $(tree_pids "$1"); do
        total=$((total + $(awk -v k="$2" '$1 == k ":" || (k == "Private" && $1 ~ /^Private_/) {n += $2}
            END {print n + 0}' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)))
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

# Wine docks each notification icon into trayer's panel as a window of its explorer.exe.
docked_icon() {  # the X window of the first icon Wine docked in the panel
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {inside = 1; next}
        inside && /^        0x/ {inside = 0}
        inside && /"explorer.exe"/ {print $1; exit}'
}
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

# The Linux desktop as a user's X tools see it.
now_ms() { date +%s%3N; }
# The X windows titled TITLE. A GTK program's client leader, an unmapped 10x10 window that
# carries the program's name for the session manager, is left aside: it is not a window.
titled_ids() {
    local id
    for id in $(xdotool search --name "^$1\$" 2>/dev/null || true); do
        [ "$(xprop -id "$id" WM_CLIENT_LEADER 2>/dev/null | awk '{print $NF}')" = "$(printf '0x%x' "$id")" ] ||
            echo "$id"
    done
}
window_facts() {  # window_facts TITLE: "X Y WIDTH HEIGHT MAP_STATE" of the window, a mapped one first
    local id chosen=
    for id in $(titled_ids "$1"); do
        [ -n "$chosen" ] || chosen=$id
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            chosen=$id
            break
        fi
    done
    [ -n "$chosen" ] || return 0
    xwininfo -id "$chosen" 2>/dev/null | awk '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} /Map State:/ {m = $NF}
        END {if (w) print x, y, w, h, m}'
}
is_viewable() { [ "$(window_facts "$1" | awk '{print $5}')" = IsViewable ]; }
# How many X windows, mapped or not, carry exactly this title.
windows_titled() { titled_ids "$1" | wc -l; }
# The program's icons docked in the notification area (XEmbed windows with its tip's name).
icons() { xwininfo -root -tree | grep -c '"Velostan Radio"' || true; }
icons_are() { [ "$(icons)" = "$1" ]; }
# Launches of the program under test. The caller defines start_program, which execs the
# program, so that $launched is the program's own pid; kill_launched ends any still running
# when a script stops early.
launched_pids=()
launch() {  # launch: starts the program in the background; its pid in $launched
    start_program &
    launched=$!
    launched_pids+=("$launched")
}
kill_launched() {
    local pid
    for pid in "${launched_pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}
# Launches once more and checks that it ends by itself with 0; prints how long it took.
second_launch() {  # second_launch FIGURE WHEN
    local started
    started=$(now_ms)
    launch
    wait_for_exit "$launched"
    check "a launch $2 ends by itself with code 0" "$code" 0
    echo "figure: $1=$(($(now_ms) - started)) ($2, start to exit)"
}

# The colour of one screen pixel, as rrggbb.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr A-F a-f; }
# The sample page's top band (#9b1b30) is drawn in the player whose client area is at
# LEFT TOP: the page is on the screen.
page_drawn() {  # page_drawn LEFT TOP
    [ "$(pixel $(($1 + 100)) $(($2 + 2)))" = 9b1b30 ]
}

# Clicks the player's "X" (its button at the client area's top-left corner).
click_x() {  # click_x TITLE
    local x y
    read -r x y _ < <(window_facts "$1")
    xdotool mousemove $((x + 12)) $((y + 6)) click 1
}
