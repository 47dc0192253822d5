#!/usr/bin/env bash
# End to end, a station that drops: the real Linux program plays an Icecast 2 MP3 mount
# fed by ffmpeg, and the station goes away and comes back three ways: its source client
# killed and back, the whole server restarted, and an outage of 32 s. Each time the
# sound stops and is heard again within about 10 s of the station's return (the program
# starts the page's <audio> again by itself; the page is requested once). While the
# station is down the process tree costs next to no CPU and neither its processes nor
# its memory grow. Then the listener pauses the page's player: it stays silent through an
# outage and the return, and "X" still ends the program with code 0.
#   drops.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_src=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin drops "$build_dir" desktop sound

stations_start "$work/stations" "$station_src" "$port" mp3
station_page mp3

# The moments of each drop and return, in wall-clock ms, to be found in the recording.
drops=()
back_on_air() {  # back_on_air: waits for the mount and notes the time of the return
    poll 20 mount_up mp3 || echo "FAILED: the mount did not come back"
    returned=$(now_ms)
}
processes() { tree_pids "$program_pid" | wc -w; }

capture="$work/capture.raw"
play_recorded "$capture"
sleep 5

echo "== the source client killed, back after 5 s"
off=$(now_ms)
source_off mp3
sleep 5
source_on mp3
back_on_air
drops+=("source:$off:$returned")
sleep 13

echo "== the whole server restarted"
off=$(now_ms)
icecast_stop
icecast_start
back_on_air
drops+=("server:$off:$returned")
sleep 13

echo "== off the air for 32 s"
# Its own pages are those it wrote (Private_Dirty): a library page counts as private too
# once the other processes mapping it end, which tests running beside this one do.
processes_before=$(processes) pss_before=$(tree_kb "$program_pid" Pss) own_before=$(tree_kb "$program_pid" Private_Dirty)
off=$(now_ms)
icecast_stop
sleep 8
echo "figure: drops_cpu_while_down=$(tree_cpu_rate "$program_pid" 20) s/s (whole process tree, 20 s of an outage)"
processes_down=$(processes) pss_down=$(tree_kb "$program_pid" Pss) own_down=$(tree_kb "$program_pid" Private_Dirty)
sleep 4
icecast_start
back_on_air
drops+=("outage:$off:$returned")
echo "figure: drops_memory=pss $((pss_before / 1024)) MB before the outage, $((pss_down / 1024)) MB after 28 s of it; its own written pages $((own_before / 1024)) and $((own_down / 1024)) MB; processes $processes_before and $processes_down"
check "no process added while down" "$processes_down" "$processes_before"
check "memory does not grow while down (its own pages within 10 MB)" \
    "$([ $((own_down - own_before)) -le 10240 ] && echo yes || echo "no, +$(((own_down - own_before) / 1024)) MB")" yes
sleep 13

echo "== paused by the listener, then an outage and the return"
read -r x y _ < <(window_facts "$player")
xdotool mousemove $((x + 56)) $((y + 169)) click 1  # the player's pause button
paused=$(now_ms)
sleep 2
source_off mp3
sleep 6
source_on mp3
back_on_air
sleep 14
check "the paused player is still there" "$(exited "$program_pid" && echo ended || echo running)" running
click_x "$player"
wait_for_exit "$program_pid"
program_pid=
check "X ends it with code 0" "$code" 0
recording_stop

hear "$capture" "${station_hz[mp3]}" "$work/tone.txt"
segments=$(value segments "$work/tone.txt")
echo "sound heard (ms into the recording): $segments"
check "the station's tone, ${station_hz[mp3]} Hz within 1 %" \
    "$(within_one_percent "$(value frequency_hz "$work/tone.txt")" "${station_hz[mp3]}")" yes
# For each drop: the sound stopped after it went off, and the first sound after that gap
# is heard within about 10 s of the return.
for drop in "${drops[@]}"; do
    IFS=: read -r name off returned <<<"$drop"
    off_at=$((off - recording_start_ms)) return_at=$((returned - recording_start_ms))
    back_at=$(tr ',' '\n' <<<"$segments" | awk -F- -v off="$off_at" '
        $2 > off && !stopped {stopped = 1; next} stopped && $1 > off {print $1; exit}')
    if [ -z "$back_at" ]; then
        check "$name: the sound stops and comes back" "no" "yes"
        continue
    fi
    echo "figure: drops_return_to_sound_ms[$name]=$((back_at - return_at)) (station back on the air to sound)"
    check "$name: heard again within 11 s of the return" \
        "$([ $((back_at - return_at)) -le 11000 ] && echo yes || echo "no, $((back_at - return_at)) ms")" yes
done
pause_at=$((paused - recording_start_ms))
check "paused: silent from the pause to the end, through the outage and the return" \
    "$(tr ',' '\n' <<<"$segments" | awk -F- -v p="$pause_at" '$2 > p + 500 {n++} END {print n + 0}')" 0
check "the page was requested once" "$(grep -c ' GET /listenlive/zaviradio.html ' "$station_requests")" 1

echo "end-to-end drops: $failures failed"
[ "$failures" -eq 0 ]
