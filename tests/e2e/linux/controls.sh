#!/usr/bin/env bash
# End to end, the radio held from the tray, as a panel drives it over the session bus (the
# item's menu Event, SecondaryActivate, Scroll), with the sound recorded: what plays in the
# tip and the menu's first line, and its change; Pause silent within 2 s, its stream's
# connection let go, and silent through a drop and return; a middle click's Play heard
# again; the wheel's lower level, kept over a relaunch; Mute; a sleep timer (its minute
# shortened) fading out into a pause; start at login, its entry valid and gone again.
# Nothing written to the user's settings before the listener changes something.
#   controls.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_src=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin controls "$build_dir" desktop sound
source "$harness/panel.sh"
panel_setup
on_exit panel_stop
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAILED: no session bus"; exit 1; }
stations_start "$work/stations" "$station_src" "$port" mp3
station_page mp3
# The page says what plays, and then something else; it counts its visits in its local
# storage and a cookie, and says the count.
sed -i 's|</body>|<script>setTimeout(function () { navigator.mediaSession.metadata = new MediaMetadata({title: "Evening News", artist: "Studio Two"}); }, 15000); var n = Number(localStorage.getItem("visits") \|\| 0) + 1; localStorage.setItem("visits", n); document.cookie = "c=" + n + "; max-age=99999"; new Image().src = "/visit?" + n + "\&" + document.cookie;</script></body>|' \
    "$_stations_dir/station/listenlive/zaviradio.html"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data ZAVIRADIO_TEST_MINUTE_MS=1000
panel_start

bus() { gdbus call --session --dest "$1" --object-path "$2" --method "$3" -- "${@:4}" 2>/dev/null; }
has_item() { [ -n "$(item)" ]; }
item() { bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.ListNames |
    grep -o "org\.kde\.StatusNotifierItem-$program_pid-[0-9]*" | head -n 1 || true; }
ours() { playerctl -l 2>/dev/null | grep '^np\.com\.velostan\.ZaviRadio\.' | head -n 1 || true; }
offers_play() { [ "$(layout | grep -c "'label': <'Play'>")" = 1 ]; }
layout() { bus "$(item)" /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '@as []'; }
first_line() { layout | grep -o "'label': <'[^']*'>" | head -n 1 | sed "s/'label': <'\(.*\)'>/\1/"; }
tip() { bus "$(item)" /StatusNotifierItem org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip |
    grep -o "\], '[^']*'" | sed "s/\], '\(.*\)'/\1/"; }
# Clicks the menu item of that label, as the panel does.
click() {
    local id
    id=$(layout | grep -o "([0-9]*, {'label': <'$1'>" | grep -o '[0-9]*' | head -n 1)
    bus "$(item)" /MenuBar com.canonical.dbusmenu.Event "$id" clicked '<"">' 0 >/dev/null
}
# What the program's connections to the station's stream server have received so far.
stream_bytes() { ss -Htin "( dport = :$icecast_port )" | grep -o 'bytes_received:[0-9]*' |
    awk -F: '{n += $2} END {print n + 0}'; }
# "yes" when the stream server sends it no more than a buffer's worth (64 KB: 4 s of the
# 128 kbit/s stream) over SECONDS.
takes_nothing() {  # takes_nothing SECONDS
    local before after
    before=$(stream_bytes)
    sleep "$1"
    after=$(stream_bytes)
    echo "stream bytes over $1 s: $((after - before))" >&2
    [ $((after - before)) -le 65536 ] && echo yes || echo "no, $((after - before)) bytes"
}
measure() { hear "$capture" 440 "$work/tone.txt" >/dev/null; }
rms_between() {  # rms_between FROM TO (wall-clock ms)
    /usr/bin/python3 "$harness/tone.py" "$capture" 440 $(($1 - recording_start_ms)) $(($2 - recording_start_ms)) |
        sed -n 's/^rms=//p'
}
# When the sound going at MS (wall clock) stopped, and when sound next began after it, in
# ms into the recording.
sound_end_after() { tr ',' '\n' <<<"$(value segments "$work/tone.txt")" |
    awk -F- -v a=$(($1 - recording_start_ms)) '$2 > a - 500 {print $2; exit}'; }
sound_start_after() { tr ',' '\n' <<<"$(value segments "$work/tone.txt")" |
    awk -F- -v a=$(($1 - recording_start_ms)) '$1 > a {print $1; exit}'; }

# "X", its exit code, and the recording measured.
quit_and_hear() {
    click_x "$player"
    wait_for_exit "$program_pid"
    check "X ends it with code 0" "$code" 0
    recording_stop
    measure
    echo "sound heard (ms into the recording): $(value segments "$work/tone.txt")"
}

listen() {  # listen NAME: a launch recorded, once its player and icon are up
    capture="$work/controls-$1.raw"
    recording_start "$capture"
    sleep 3
    launch
    poll 20 is_viewable "$player" || true
    poll 10 has_item || true
}

echo "== what plays, and pause"
listen first
says() { [ "$(first_line)" = "$1" ]; }
poll 10 says "Zavi Radio - Velostan" || true
check "the menu's first line: what the page says it plays" "$(first_line)" "Zavi Radio - Velostan"
check "the tip says it too" "$(tip)" "Zavi Radio - Velostan"
check "a plain listen writes no settings" "$(test -e "$XDG_CONFIG_HOME/zaviradio" && echo written || echo none)" none
poll 20 says "Evening News - Studio Two" || true  # 15 s after the page came
check "what plays, changed by the page" "$(first_line)|$(tip)" "Evening News - Studio Two|Evening News - Studio Two"
paused=$(now_ms)
click Pause
sleep 3
check "paused, the stream's server sends it nothing more" "$(takes_nothing 5)" yes
check "the desktop's media controls show it paused" "$(playerctl -p "$(ours)" status 2>/dev/null)" Paused
check "the menu offers Play" "$(layout | grep -c "'label': <'Play'>")" 1
drop_source mp3 4
sleep 4
check "nor after a drop and the station's return" "$(takes_nothing 4)" yes
played=$(now_ms)
bus "$(item)" /StatusNotifierItem org.kde.StatusNotifierItem.SecondaryActivate 0 0 >/dev/null
sleep 6
echo "== the wheel and mute"
for _ in 1 2 3 4 5 6 7 8; do
    bus "$(item)" /StatusNotifierItem org.kde.StatusNotifierItem.Scroll -120 vertical >/dev/null
done
lowered=$(now_ms)
check "the new level shown in the menu's first line" "$(first_line)" "Volume: 60 %"
sleep 4
muted=$(now_ms)
click Mute
sleep 3
click Mute
unmuted=$(now_ms)
sleep 4
quit_and_hear
pause_ms=$(($(sound_end_after "$paused") + recording_start_ms - paused))
echo "figure: controls_pause_to_silence_ms=$pause_ms"
check "Pause silent within 2 s" "$([ "$pause_ms" -le 2000 ] && echo yes || echo "no, $pause_ms")" yes
check "silent through the drop and the return" "$(tr ',' '\n' <<<"$(value segments "$work/tone.txt")" |
    awk -F- -v a=$((paused + 2000 - recording_start_ms)) -v b=$((played - recording_start_ms)) '$1 > a && $1 < b {n++} END {print n + 0}')" 0
play_ms=$(($(sound_start_after "$played") + recording_start_ms - played))
echo "figure: controls_play_to_sound_ms=$play_ms"
check "the middle click's Play heard within 5 s" "$([ "$play_ms" -le 5000 ] && echo yes || echo "no, $play_ms")" yes
full=$(rms_between $((lowered - 3500)) $((lowered - 500)))
low=$(rms_between $((lowered + 1000)) $((muted - 200)))
echo "figure: controls_level_rms=$full at 100 %, $low at 60 %"
check "the wheel lowers the level (to 60 %: about 0.6 of it)" \
    "$(awk -v f="$full" -v l="$low" 'BEGIN {r = l / f; print (r > 0.45 && r < 0.75) ? "yes" : r}')" yes
mute_ms=$(($(sound_end_after "$muted") + recording_start_ms - muted))
echo "figure: controls_mute_to_silence_ms=$mute_ms"
check "Mute silences within 2 s" "$([ "$mute_ms" -le 2000 ] && echo yes || echo "no, $mute_ms")" yes
check "the settings kept the volume" "$(sed -n 's/^Volume=//p' "$XDG_CONFIG_HOME/zaviradio/settings.ini")" 60

echo "== the level over a relaunch; the sleep timer; start at login"
listen second
sleep 4
playerctl -p "$(ours)" pause
poll 3 offers_play || true
check "a pause made in the page or by the media keys: the menu offers Play" "$(offers_play && echo yes)" yes
playerctl -p "$(ours)" play
sleep 3
relaunched=$(now_ms)
click "15 minutes"  # a minute of a second here: the fade in its last 10 s
slept=$(now_ms)
poll 25 offers_play || true
check "faded out into a pause: the menu offers Play" "$(offers_play && echo yes)" yes
click "Start at login"
entry="$XDG_CONFIG_HOME/autostart/np.com.velostan.ZaviRadio.desktop"
poll 3 test -f "$entry" || true
check "start at login: the entry is there" "$(test -f "$entry" && echo yes)" yes
check "and valid" "$(desktop-file-validate "$entry" 2>&1 && echo valid)" valid
check "and starts this program" "$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$entry")" "$(realpath "$program")"
click "Start at login"
poll 3 test ! -f "$entry" || true
check "unchecked, it is gone" "$(test -f "$entry" && echo there || echo gone)" gone
quit_and_hear
again=$(rms_between $((relaunched - 3000)) "$relaunched")
echo "figure: controls_level_rms_after_relaunch=$again"
check "the lower level kept over the relaunch" \
    "$(awk -v f="$full" -v l="$again" 'BEGIN {r = l / f; print (r > 0.45 && r < 0.75) ? "yes" : r}')" yes
fade=$(rms_between $((slept + 11000)) $((slept + 13000)))
echo "figure: controls_sleep_fade_rms=$fade (from $again), silent from $(($(sound_end_after "$slept") + recording_start_ms - slept)) ms"
check "the sleep timer fades before it pauses" \
    "$(awk -v f="$again" -v l="$fade" 'BEGIN {print (l > 0 && l < f * 0.8) ? "yes" : l}')" yes
check "and is silent by its end" "$(($(sound_end_after "$slept") + recording_start_ms - slept <= 16500))" 1

echo "the page's visits: $(grep -o 'GET /visit?[^ ]*' "$station_requests" | paste -sd ' ')"
check "the page's local storage and cookie kept from one launch to the next" \
    "$(grep -c 'GET /visit?1&c=1 ' "$station_requests") $(grep -c 'GET /visit?2&c=2 ' "$station_requests")" "1 1"
check "in the program's data folder, with no HTTP disk cache" \
    "$(test -d "$XDG_DATA_HOME/zaviradio/localstorage" && echo kept) $(find "$XDG_DATA_HOME/zaviradio" -path '*WebKitCache*' -name '*Records*' | wc -l)" "kept 0"

echo "end-to-end controls: $failures failed"
[ "$failures" -eq 0 ]
