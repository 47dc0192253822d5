#!/usr/bin/env bash
# End to end against real broadcast software: the real Linux program, given a station page
# whose <audio> plays each kind of stream Nepal's stations run, is heard at that station's
# frequency (within 1 %), and "X" ends it with code 0. The stations (tests/stations/):
# Icecast 2 mounts fed by ffmpeg (MP3, AAC-LC, AAC as audio/aacp, Ogg Vorbis, Ogg Opus),
# a SHOUTcast v1 server ("/;"), a zeno-style 302 to another host and port, and ffmpeg's
# live HLS with MPEG-TS segments. Prints the time from launch to first sound of each.
# Live HLS with fMP4 segments is played too, but only for the record: GStreamer's HLS
# demuxer that WebKit uses here waits out the fragments' decode times (the packager's age)
# before its first sample, so it is silent for as long as the stream has been live.
#   stations.sh PROGRAM BUILD_DIR STATION_DIR PORT [KIND...]
set -euo pipefail
program=$1 build_dir=$2 station_src=$3 port=$4
shift 4
kinds=("$@")
((${#kinds[@]})) || kinds=(mp3 aac aacp vorbis opus shoutcast zeno hls hls-fmp4)
declare -A unheard_here=([hls-fmp4]=1)
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin stations "$build_dir" desktop sound

stations_start "$work/stations" "$station_src" "$port" "${kinds[@]}"

for kind in "${kinds[@]}"; do
    echo "== $kind"
    station_page "$kind"  # the sample station's page, playing this station's stream
    capture="$work/capture-$kind.raw"
    recording_start "$capture"
    sleep 1  # the sound server holds back a new recording's first second
    started=$(now_ms)
    program_log=$work/stderr-$kind.log launch
    poll 20 is_viewable "$player" || true
    sleep 7  # Opus and HLS start seconds after the others
    click_x "$player"
    wait_for_exit "$program_pid"
    program_pid=
    recording_stop
    hear "$capture" "${station_hz[$kind]}" "$work/tone-$kind.txt"
    first=$(value first_sound_ms "$work/tone-$kind.txt")
    frequency=$(value frequency_hz "$work/tone-$kind.txt")
    check "$kind: X ends it with code 0" "$code" 0
    if [ -n "${unheard_here[$kind]:-}" ]; then
        echo "figure: station_first_sound_ms[$kind]=$([ "$first" = none ] && echo none || echo $((recording_start_ms + first - started))) (not checked: see above)"
        continue
    fi
    if [ "$first" = none ]; then
        check "$kind: the station is heard" silent sound
        echo "figure: station_first_sound_ms[$kind]=none"
        grep -v -e fakevideosink -e WebVTT "$work/stderr-$kind.log" | tail -n 5 || true
        continue
    fi
    sound_ms=$((recording_start_ms + first - started))
    check "$kind: the station's tone, ${station_hz[$kind]} Hz within 1 %" \
        "$(within_one_percent "$frequency" "${station_hz[$kind]}")" yes
    check "$kind: heard for 2 s and more" \
        "$([ "$(value heard_ms "$work/tone-$kind.txt")" -ge 2000 ] && echo yes || echo no)" yes
    echo "figure: station_first_sound_ms[$kind]=$sound_ms (launch to first audible sample)"
done

echo "end-to-end stations: $failures failed"
[ "$failures" -eq 0 ]
