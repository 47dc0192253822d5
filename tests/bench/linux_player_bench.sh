#!/usr/bin/env bash
# Benchmark: the Linux program against a bare WebKitGTK shell (tests/bench/BareShell.cpp)
# on the same real stations (Icecast 2 fed by ffmpeg, and ffmpeg's live HLS), launched
# alternately, ROUNDS times each. Prints medians: CPU while playing of the whole process
# tree and of the program's own process (s/s), PSS of the whole tree while playing, and
# the time from launch to the first sound heard on the sound server. MP3 and AAC are
# measured whole; Opus and HLS for their first sound. Fails only when something could not
# be measured or a station was not heard.
#   linux_player_bench.sh PROGRAM SHELL BUILD_DIR STATION_SRC PORT [ROUNDS]
set -euo pipefail
program=$1 shell=$2 build_dir=$3 station_src=$4 port=$5 rounds=${6:-3}
source "$(dirname "$0")/../harness/harness.sh"
harness_begin bench-player "$build_dir" desktop sound
bare="Zavi Bare Shell"
page="http://127.0.0.1:$port/listenlive/zaviradio.html"

stations_start "$work/stations" "$station_src" "$port" mp3 aac opus hls
for kind in mp3 aac opus; do poll 20 mount_up "$kind" || { echo "FAILED: no $kind mount"; exit 1; }; done
poll 30 playlist_up "$work/stations/station/hls" || { echo "FAILED: no HLS playlist"; exit 1; }

median() { sort -g | awk '{v[NR] = $1} END {if (NR == 0) print "none"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# The recording so far holds a second and a half of the station: enough for its frequency.
heard_long_enough() {  # heard_long_enough CAPTURE KIND
    hear "$1" "${station_hz[$2]}" "$work/so-far.txt"
    [ "$(value heard_ms "$work/so-far.txt")" -ge 1500 ] || { sleep 0.5; false; }
}

# One launch of WHO (program or shell) on KIND; appends its figures to $work/WHO-KIND.
run() {  # run WHO KIND
    local who=$1 kind=$2 capture="$work/capture.raw" started first cpu="" pss=""
    recording_start "$capture"
    sleep 1  # the sound server holds back a new recording's first second
    started=$(now_ms)
    if [ "$who" = program ]; then
        program_log=$work/stderr-program.log launch
    else
        "$shell" "$page" 2>>"$work/stderr-shell.log" &
        program_pid=$!
    fi
    sleep 1
    if exited "$program_pid"; then
        wait "$program_pid" || true
        echo "FAILED: $who ended as it started"
        exit 1
    fi
    case $kind in
        mp3 | aac)
            sleep 4  # playing steadily, the hand-off and the first sound behind
            cpu=$(cpu_rates "$program_pid" 4 | awk '{printf "%.4f %.4f", $1, $2}')
            pss=$(($(tree_kb "$program_pid" Pss) / 1024))
            ;;
        *) poll 10 heard_long_enough "$capture" "$kind" || true ;;  # Opus and HLS start later
    esac
    if [ "$who" = program ]; then
        click_x "$player"
    else
        kill "$program_pid"
    fi
    wait_for_exit "$program_pid"
    program_pid=
    recording_stop
    hear "$capture" "${station_hz[$kind]}" "$work/tone.txt"
    first=$(value first_sound_ms "$work/tone.txt")
    if [ "$first" = none ] || [ "$(within_one_percent "$(value frequency_hz "$work/tone.txt")" \
        "${station_hz[$kind]}")" != yes ]; then
        check "$who, $kind: the station is heard" silent sound
        return 0
    fi
    echo "$((recording_start_ms + first - started)) ${cpu:-- -} ${pss:--}" >>"$work/$who-$kind"
}

for kind in mp3 aac opus hls; do
    station_page "$kind"
    for round in $(seq "$rounds"); do
        run program "$kind"
        run shell "$kind"
    done
done

column() { awk -v c="$1" '$c != "-" {print $c}' "$2" 2>/dev/null | median; }
echo "figure: medians of $rounds launches each, alternating, on the same stations:"
printf 'figure:   %-7s %-5s %13s %13s %9s %12s\n' who kind "cpu tree s/s" "cpu own s/s" "pss MB" "first sound"
for kind in mp3 aac opus hls; do
    for who in program shell; do
        f="$work/$who-$kind"
        printf 'figure:   %-7s %-5s %13s %13s %9s %9s ms\n' "$who" "$kind" \
            "$(column 2 "$f")" "$(column 3 "$f")" "$(column 4 "$f")" "$(column 1 "$f")"
    done
done
echo "figure: program first sound, every launch (ms): $(for k in mp3 aac opus hls; do
    printf '%s %s; ' "$k" "$(awk '{printf "%s ", $1}' "$work/program-$k" 2>/dev/null)"; done)"
echo "figure: pss above the bare sandboxed view (MB, kept within 10): $(for k in mp3 aac; do
    printf '%s %s; ' "$k" "$(awk -v p="$(column 4 "$work/program-$k")" -v s="$(column 4 "$work/shell-$k")" \
        'BEGIN {print p - s}')"; done)"
[ "$failures" -eq 0 ]
