#!/usr/bin/env bash
# End to end: the real executable under Wine with the sample station page served on
# loopback. The start-up window hands off to the player, which hides it and requests the
# page once; "X" ends the program. Then the same with a host that refuses connections,
# and with no browser engine at all. Prints the start-up and shut-down times.
#   player.sh PROGRAM.exe PROBE.exe BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 probe=$2 build_dir=$3 station_dir=$4 port=$5
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin player "$build_dir" wine
box="zaviradio10.01.29"

probe_to() {  # probe_to FILE ARGS...: runs the probe in the background, output to FILE
    local file=$1
    shift
    "$WINE64" "$probe" "$@" >"$file" 2>/dev/null &
}
state_of() { "$WINE64" "$probe" state "$1" 2>/dev/null | tr -d '\r' | paste -sd ' '; }
echo "== hand-off to the player, with the sample station page on loopback"
serve_station "$port" "$station_dir"
probe_to "$work/splash.txt" wait "$splash" 20000
probe_to "$work/player.txt" wait "$player" 20000
poll 30 has_line "$work/splash.txt" "ready=1" && poll 30 has_line "$work/player.txt" "ready=1" ||
    { echo "FAILED: probes did not start"; exit 1; }
started=$(date +%s%3N)
launch
poll 30 has_line "$work/player.txt" "^flags=\|^found=0" || true
check "the player window appears" "$(value found "$work/player.txt")" 1
if [ "$(value found "$work/player.txt")" = 1 ]; then
    echo "figure: splash_ms=$(($(value found_epoch_ms "$work/splash.txt") - started)) (process start to start-up window)"
    echo "figure: player_ms=$(($(value found_epoch_ms "$work/player.txt") - started)) (process start to player window)"
    poll 10 has_line "$work/requests.log" " GET " || true
    first_get=$(awk '$2 == "GET" {print $1; exit}' "$work/requests.log")
    [ -n "$first_get" ] && echo "figure: request_ms=$((first_get - started)) (process start to station page request)"
    check "the start-up window is hidden, still loaded" "$(state_of "$splash")" "found=1 visible=0"
    sleep 2.5  # past at least one more hand-off tick
    check "the station page was requested once" "$(gets)" 1
    check "nothing else was requested" "$(grep -c ' GET ' "$work/requests.log")" 1
    check "the player stays up" "$(state_of "$player")" "found=1 visible=1"
    import -window root "$build_dir/player-e2e.png"
    echo "screenshot: $build_dir/player-e2e.png"
fi
"$WINE64" "$probe" click "$player" X >"$work/click.txt" 2>/dev/null || true
wait_for_exit "$program_pid"
ended=$(date +%s%3N)
clicked=$(value clicked_epoch_ms "$work/click.txt")
[ -n "$clicked" ] && echo "figure: exit_ms=$((ended - clicked)) (click on X to process exit, as seen by polling)"
check "a click on X ends the program with code 0" "$code" 0
check "no player window remains" "$(state_of "$player")" "found=0 visible=0"
check "no start-up window remains" "$(state_of "$splash")" "found=0 visible=0"
check "no icon is left in the notification area" "$(docked_icons_settled 0)" 0
check "no request came after the click" "$(gets)" 1
kill "$server_pid" 2>/dev/null || true
wait "$server_pid" 2>/dev/null || true
server_pid=

echo "== a station host that refuses connections"
probe_to "$work/refused.txt" wait "$player" 20000
poll 30 has_line "$work/refused.txt" "ready=1" || true
launch
poll 30 has_line "$work/refused.txt" "^flags=\|^found=0" || true
check "the player window appears" "$(value found "$work/refused.txt")" 1
sleep 2.5
check "the program keeps running" "$(exited "$program_pid" && echo ended || echo running)" running
"$WINE64" "$probe" click "$player" X >/dev/null 2>&1 || true
wait_for_exit "$program_pid"
check "X still ends it with code 0" "$code" 0

echo "== no browser engine on the machine"
launch WINEDLLOVERRIDES="mscoree,mshtml,ieframe="
"$WINE64" "$probe" answer "$box" 20000 >"$work/answer.txt" 2>/dev/null || true
text=$(value text "$work/answer.txt")
echo "error box: $text"
check "the error box says what is missing" \
    "$(grep -c '^The web browser control could not be created .* Source : VLZaviRadio$' <<<"$text")" 1
wait_for_exit "$program_pid"
check "the program ends after the box, without crashing" "$code" 1
check "no window remains" "$(state_of "$splash") $(state_of "$player")" \
    "found=0 visible=0 found=0 visible=0"
check "no icon is left in the notification area" "$(docked_icons_settled 0)" 0

echo "end-to-end player: $failures failed"
[ "$failures" -eq 0 ]
