#!/usr/bin/env bash
# End to end, by ear: the real Linux program plays the sample station into a sound server
# of the test's own, whose output is recorded and measured. Three launches in a row (a
# cached stream entry was once seen to silence every later one), each: the station's
# tone is heard at its frequency within 4 s of the start and goes on for 5 s, and after
# "X" it stops and the program ends with code 0. Then a station host that refuses
# connections and no sound server at all: the program keeps running and "X" ends it with
# 0. Prints the times to first sound, CPU and memory while playing (tests/bench/linux_cpu.sh
# measures a bare GTK window for them to be read beside).
#   sound.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin sound "$build_dir" desktop sound
tone_hz=440

serve_station "$port" "$station_dir"

for run in 1 2 3; do
    echo "== launch $run: the station is heard"
    capture="$work/capture-$run.raw"
    recording_start "$capture"
    sleep 0.3
    started=$(now_ms)
    launch
    poll 20 is_viewable "$player" || true
    player_ms=$(($(now_ms) - started))
    if [ "$run" = 1 ]; then
        sleep 2
        echo "figure: linux_cpu_playing=$(tree_cpu_rate "$program_pid" 10) s/s (whole process tree, 10 s while playing)"
        echo "figure: linux_memory_playing=rss $(($(tree_kb "$program_pid" Rss) / 1024)) MB, pss $(($(tree_kb "$program_pid" Pss) / 1024)) MB (whole process tree)"
    else
        sleep 6.5  # past 4 s from the start, then 5 s of sound at least
    fi
    click_x "$player"
    clicked=$(now_ms)
    wait_for_exit "$program_pid"
    sleep 0.5
    recording_stop
    capture_start=$recording_start_ms
    hear "$capture" "$tone_hz" "$work/tone-$run.txt"
    cat "$work/tone-$run.txt"
    first=$(value first_sound_ms "$work/tone-$run.txt")
    last=$(value last_sound_ms "$work/tone-$run.txt")
    frequency=$(value frequency_hz "$work/tone-$run.txt")
    check "launch $run: ends with code 0 after X" "$code" 0
    if [ "$first" = none ] || [ -z "$first" ]; then
        check "launch $run: the station is heard" silent sound
        continue
    fi
    sound_ms=$((capture_start + first - started))
    echo "figure: linux_first_sound_ms=$sound_ms (process start to first audible sample; player at ${player_ms} ms)"
    check "launch $run: heard within 4 s of the start" "$([ "$sound_ms" -le 4000 ] && echo yes || echo "no, $sound_ms ms")" yes
    check "launch $run: the station's tone, within 1 %" \
        "$(within_one_percent "$frequency" "$tone_hz")" yes
    check "launch $run: it goes on for 5 s and more" "$([ "$(value heard_ms "$work/tone-$run.txt")" -ge 5000 ] && echo yes)" yes
    stop_ms=$((capture_start + last - clicked))
    check "launch $run: it stops after X" "$([ "$stop_ms" -le 500 ] && echo yes || echo "no, $stop_ms ms after")" yes
done
check "every launch asked for the stream" "$(grep -c ' GET /listenlive/stream.mp3 ' "$work/requests.log")" 3
check "three launches, played and closed, printed nothing on standard error" \
    "$(program_errors | head -n 3)" ""
kill "$server_pid" 2>/dev/null || true
wait "$server_pid" 2>/dev/null || true
server_pid=

echo "== a station host that refuses connections, and no sound server"
sound_stop
launch PULSE_SERVER="unix:$work/no-such-server"
poll 20 is_viewable "$player" || true
sleep 2.5
check "the program keeps running" "$(exited "$program_pid" && echo ended || echo running)" running
check "no error box" "$(xwininfo -root -tree | grep -c '"zaviradio10.01.29"' || true)" 0
click_x "$player"
wait_for_exit "$program_pid"
check "X still ends it with code 0" "$code" 0

echo "end-to-end sound: $failures failed"
[ "$failures" -eq 0 ]
