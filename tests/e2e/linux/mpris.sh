#!/usr/bin/env bash
# End to end: the desktop's media controls (MPRIS, on the test desktop's session bus) and
# the real Linux program playing the sample station into a sound server of the test's
# own. The playing page is on the bus as a player named for the program's application id
# with the identity "Zavi Radio"; `playerctl pause` silences the station (the recording
# goes quiet and stays so for as long as it is paused: a listener's pause, which the
# dropped-stream recovery leaves alone) and `playerctl play` brings it back. Prints what
# the media controls are shown of the page (title, desktop entry), which WebKit decides.
#   mpris.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin mpris "$build_dir" desktop sound
tone_hz=440

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAILED: no session bus"; exit 1; }
serve_station "$port" "$station_dir"

ours() { playerctl -l 2>/dev/null | grep '^np\.com\.velostan\.ZaviRadio\.' | head -n 1 || true; }
property() {  # property INTERFACE NAME: the player's property, as gdbus prints it
    gdbus call --session --dest "org.mpris.MediaPlayer2.$name" --object-path /org/mpris/MediaPlayer2 \
        --method org.freedesktop.DBus.Properties.Get "$1" "$2" 2>/dev/null || true
}

capture="$work/capture.raw"
play_recorded "$capture"
poll 10 eval '[ -n "$(ours)" ]' || true
name=$(ours)
check "the playing page is on the bus as the program's player" \
    "$(echo "$name" | sed 's/instance-[0-9]*$/instance-N/')" np.com.velostan.ZaviRadio.Sandboxed.instance-N
check "its identity is the program's name" "$(property org.mpris.MediaPlayer2 Identity)" "(<'Zavi Radio'>,)"
echo "figure: mpris_desktop_entry=$(property org.mpris.MediaPlayer2 DesktopEntry) (WebKit's own, always empty)"
echo "figure: mpris_title=\"$(playerctl -p "$name" metadata xesam:title 2>/dev/null || true)\" (the page's media session's)"
sleep 2
check "it plays" "$(playerctl -p "$name" status 2>/dev/null || true)" Playing
paused_abs=$(now_ms)
playerctl -p "$name" pause
sleep 0.5
check "playerctl pause pauses it" "$(playerctl -p "$name" status 2>/dev/null || true)" Paused
sleep 5  # longer than the first restart of a dropped stream would wait
played_abs=$(now_ms)
playerctl -p "$name" play
sleep 3
click_x "$player"
wait_for_exit "$program_pid"
program_pid=
check "X ends it with code 0" "$code" 0
recording_stop
paused_at=$((paused_abs - recording_start_ms)) played_at=$((played_abs - recording_start_ms))
hear "$capture" "$tone_hz" "$work/tone.txt"
segments=$(value segments "$work/tone.txt")
echo "sound heard (ms into the recording): $segments; paused at ~$paused_at, played at ~$played_at"
# Two stretches of sound: the first ends within a second of the pause, the second starts
# within two of the play; between them, silence. (The recording is placed in time from
# its end, to within a window of 50 ms or so, hence the margins.)
read -r first_end second_start count <<<"$(echo "$segments" | tr ',' '\n' | awk -F- '
    NR == 1 {end1 = $2} NR == 2 {start2 = $1} END {print end1 + 0, start2 + 0, NR}')"
check "sound before the pause, and after the play" "$count" 2
check "silent from the pause" \
    "$([ "$first_end" -ge $((paused_at - 500)) ] && [ "$first_end" -le $((paused_at + 1500)) ] && echo yes || echo "ended at $first_end")" yes
check "back after the play" \
    "$([ "$second_start" -ge $((played_at - 250)) ] && [ "$second_start" -le $((played_at + 2500)) ] && echo yes || echo "back at $second_start")" yes
check "nothing was printed on standard error" "$(program_errors | head -n 3)" ""

echo "end-to-end media controls: $failures failed"
[ "$failures" -eq 0 ]
