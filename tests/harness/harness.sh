# Sourced by every end-to-end, benchmark and package script: the sessions a test runs in
# (desktop, Wine, sound), the servers it starts, its checks and waits, and one clean-up
# that ends all of it, whichever way the script stops.
#   harness_begin NAME BUILD_DIR [desktop|wine] [sound]
# leaves a private folder in $work; the script's own processes go in $program_pid or
# through launch, its extra clean-up through on_exit.

harness=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$harness/wine-session.sh"
source "$harness/sound-session.sh"
source "$harness/stations/stations.sh"
source "$harness/processes.sh"
source "$harness/screen.sh"

splash="Zavi Radio" player="Velostan Zavi Radio Player"
work= program_pid= server_pid=
_harness_session= _harness_hooks=()

harness_begin() {
    local name=$1 build_dir=$2 option sound=
    shift 2
    for option; do
        case $option in
            desktop) _harness_session=desktop; desktop_start ;;
            wine) _harness_session=wine; join_wine_session "$build_dir" ;;
            sound) sound=1 ;;
            *) echo "harness_begin: unknown option $option"; exit 2 ;;
        esac
    done
    work=$(realpath "$(mktemp -d "$build_dir/e2e-$name.XXXXXX")")
    trap _harness_end EXIT
    # The station pages' storage the program keeps: the test's own, never the user's.
    export XDG_DATA_HOME="$work/data"
    [ -z "$sound" ] || sound_start "$work/pulse"
}

on_exit() { _harness_hooks+=("$1"); }  # on_exit COMMAND: run first at the clean-up

_harness_end() {
    set +e  # every step runs, whatever an earlier one met
    local hook
    for hook in "${_harness_hooks[@]}"; do eval "$hook" >/dev/null 2>&1 || true; done
    [ -z "$program_pid" ] || _kill_own "$program_pid"
    kill_launched
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    stations_stop
    sound_stop
    case $_harness_session in
        wine) wine_session_stop >/dev/null 2>&1 || true ;;
        desktop) desktop_stop ;;
    esac
    [ -z "$work" ] || rm -rf "$work"
}

# Joins the Wine session of the caller (test.sh starts one for every test), or starts one.
join_wine_session() {  # join_wine_session BUILD_DIR
    [ -n "${DISPLAY:-}" ] || wine_session_start "$1"
    : "${WINEPREFIX:=$1/wineprefix}"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# The sample station's page on loopback, its requests written down in $work/requests.log.
serve_station() {  # serve_station PORT STATION_DIR [SERVER OPTIONS...]
    local port=$1 dir=$2
    shift 2
    /usr/bin/python3 "$harness/stations/station_server.py" "$port" "$dir" "$work/requests.log" "$@" &
    server_pid=$!
    poll 10 has_line "$work/requests.log" listening || { echo "FAILED: station server"; exit 1; }
}
# How many times the station's page was requested.
gets() { grep -c " GET /listenlive/zaviradio.html " "$work/requests.log" 2>/dev/null || true; }

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
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
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
        stack_of "$1"
        kill "$1" 2>/dev/null || true
    fi
}
# Where a process that should have ended stands: its threads' stacks, for the log.
stack_of() {  # stack_of PID
    command -v gdb >/dev/null || return 0
    timeout 30 gdb -p "$1" -batch -ex "thread apply all bt 15" 2>/dev/null |
        grep -E '^(Thread|#)' | sed 's/^/stack: /' | head -n 150 || true
}
now_ms() { date +%s%3N; }
# The program's standard error without what others say through it: ALSA's and OpenAL's
# lines where there is no sound card (GStreamer tries each output in turn), and a web
# process still starting as its program quits, which can say it lost its socket.
program_errors() {  # program_errors: the lines of $work/stderr.log that are the program's
    grep -v -e '^$' -e '^ALSA lib' -e '^AL lib' -e 'Error writing credentials to socket' \
        "$work/stderr.log" || true
}

# Starts recording the sound server, then the program (its pid in $program_pid), and
# waits for its player.
play_recorded() {  # play_recorded CAPTURE
    recording_start "$1"
    sleep 1  # the sound server holds back a new recording's first second
    launch
    poll 20 is_viewable "$player" || true
}

# The one way a script starts the program under test ($program; under Wine in a Wine
# session): in the background, VAR=VALUE words given first in its environment, its
# standard error added to $program_log ($work/stderr.log unless the script says). Its pid,
# the program's own, in $launched and $program_pid; kill_launched ends every launch still
# running when a script stops early.
launched_pids=()
launch() {  # launch [VAR=VALUE...]
    [ "$_harness_session" != wine ] || set -- "$@" "$WINE64"
    env "$@" "$program" 2>>"${program_log:-$work/stderr.log}" &
    launched=$! program_pid=$!
    launched_pids+=("$launched")
}
kill_launched() {
    local pid
    for pid in "${launched_pids[@]}"; do _kill_own "$pid"; done
}
# Kills PID if it is still a child of this script: the pid of one that ended may be another
# process's by now (pids wrap at 32768 here).
_kill_own() {
    [ "$(ps -o ppid= -p "$1" 2>/dev/null | tr -d ' ')" != "$$" ] || kill -9 "$1" 2>/dev/null || true
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

