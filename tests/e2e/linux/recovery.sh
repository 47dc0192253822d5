#!/usr/bin/env bash
# End to end, what real networks and real station pages do to a listener, one launch of
# the real Linux program per case, against real broadcast software (Icecast 2 fed by
# ffmpeg, ffmpeg's live HLS) and pages built with the player libraries stations use
# (howler.js, hls.js, plyr, from the npm registry). Each case heard again at the
# station's frequency within its bound after the cause ends, with the time printed; the
# page requests counted (one per load, no storms); "X" ends each with code 0.
#   late_host    the web host down at launch, up 10 s later (the program's own waiting
#                page shown meanwhile, never the engine's error text)
#   http_503     the web host answers 503 to the first request
#   stream_late  the page loads, but its stream's host refuses for the first 15 s; the
#                CPU while waiting printed
#   hang         the stream's connection hangs open (bytes stop, the socket stays)
#   howler       howler.js playing outside the document, its source dropped for 5 s
#   amplitude    amplitudejs, the same
#   hlsjs        hls.js (Media Source Extensions), the packager stopped for 10 s
#   native_hls   native HLS whose packager stops cleanly: its finished playlist is never
#                replayed
#   plyr         plyr's page through an outage, the CPU while down printed
#   crash        the page's web process dies (killed; WebKit's own has crashed under
#                hls.js): the page is loaded again in a new one, with no error shown
#   paused       howler.js paused by the page's own button, then a drop and the return:
#                silent throughout
#   paused_after_drop  a drop the program brought back, then the page's own pause: silent
#                (the library was never told of the drop, so its button still works)
#   recovery.sh PROGRAM BUILD_DIR STATION_DIR PORT [CASE...]
set -euo pipefail
program=$1 build_dir=$2 station_src=$3 port=$4
shift 4
cases=("$@")
((${#cases[@]})) || cases=(late_host http_503 stream_late hang howler amplitude hlsjs native_hls plyr crash paused paused_after_drop)
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin recovery "$build_dir" desktop sound
relay_pid=
on_exit relay_stop

stations_start "$work/stations" "$station_src" "$port" mp3 hls
relay_port=$((port + 8))

# A relay to the Icecast port whose open connections can be made to hang.
relay_start() {
    relay_stop
    /usr/bin/python3 "$harness/stations/relay.py" "$relay_port" 127.0.0.1 "$icecast_port" \
        --parent $$ &
    relay_pid=$!
    poll 5 curl -s -o /dev/null -m 1 "http://127.0.0.1:$relay_port/" || true
}
relay_stop() {
    [ -n "$relay_pid" ] || return 0
    kill "$relay_pid" 2>/dev/null || true
    wait "$relay_pid" 2>/dev/null || true
    relay_pid=
}
relay_url() { echo "http://127.0.0.1:$relay_port/mp3"; }
page_requests() { grep -c ' GET /listenlive/zaviradio.html ' "$station_requests" || true; }
# The crashes of its web process that the program reported during a case.
engine_crashes() { grep -c "page process ended" "$work/stderr-$1.log" || true; }

# One launch: recording from before it; $case_name, $started, $program_pid set.
launch_case() {  # launch_case NAME
    case_name=$1
    echo "== $case_name"
    requests_before=$(page_requests)
    capture="$work/$case_name.raw"
    recording_start "$capture"
    sleep 3  # the sound server holds back a new recording's first second or so
    started=$(now_ms)
    program_log=$work/stderr-$case_name.log launch
    poll 20 is_viewable "$player" || true
}
# Waits for the case's sound to come back after the moment CAUSE_END (wall-clock ms),
# up to BOUND ms after it, then ends the program with "X" and measures the recording.
finish_case() {  # finish_case CAUSE_END BOUND_MS [KIND]
    local cause_end=$1 bound=$2 kind=${3:-mp3} back_at segments
    poll $(((cause_end + bound - $(now_ms)) / 1000 + 2)) heard_since "$cause_end" || true
    echo "X clicked at $(($(now_ms) - cause_end)) ms from the cause's end"
    click_x "$player"
    wait_for_exit "$program_pid"
    program_pid=
    check "$case_name: X ends it with code 0" "$code" 0
    recording_stop
    hear "$capture" "${station_hz[$kind]}" "$work/tone-$case_name.txt"
    segments=$(value segments "$work/tone-$case_name.txt")
    echo "sound heard (ms into the recording): $segments; the cause ended at $((cause_end - recording_start_ms))"
    echo "page requested (ms from the cause's end):" $(grep ' GET /listenlive/zaviradio.html ' "$station_requests" |
        tail -n +$((requests_before + 1)) | awk -v t="$cause_end" '{print $1 - t}')
    # The first sound that starts after the cause ended; sound that began before it and
    # runs on (the tail of a buffer) does not count.
    back_at=$(tr ',' '\n' <<<"$segments" | awk -F- -v t=$((cause_end - recording_start_ms)) \
        '$1 >= t {print $1; exit}')
    if [ -z "$back_at" ]; then
        check "$case_name: heard again after the cause ended" silent sound
        echo "figure: recovery_to_sound_ms[$case_name]=none"
        return
    fi
    back_ms=$((back_at + recording_start_ms - cause_end))
    echo "figure: recovery_to_sound_ms[$case_name]=$back_ms (the cause's end to sound)"
    check "$case_name: heard again within $((bound / 1000)) s of the cause's end" \
        "$([ "$back_ms" -le "$bound" ] && echo yes || echo "no, $back_ms ms")" yes
    check "$case_name: the station's tone, ${station_hz[$kind]} Hz within 1 %" \
        "$(within_one_percent "$(value frequency_hz "$work/tone-$case_name.txt")" "${station_hz[$kind]}")" yes
}
# True once sound that began after the wall-clock ms SINCE has gone on for 2 s: the part of
# the recording since then, read as it grows (4 bytes a sample, 44,100 samples a second).
heard_since() {  # heard_since SINCE
    local offset
    offset=$(($(stat -c %s "$capture") - ($(now_ms) - $1) * 1764 / 10))
    offset=$((offset < 0 ? 0 : offset / 4 * 4))
    tail -c +$((offset + 1)) "$capture" >"$work/since.raw"
    hear "$work/since.raw" "${station_hz[mp3]}" "$work/since.txt"
    # A stretch from the part's very start may be a buffer still playing out.
    tr ',' '\n' <<<"$(value segments "$work/since.txt")" |
        awk -F- '$1 > 0 && $2 - $1 >= 2000 {found = 1} END {exit !found}'
}
check_requests() {  # check_requests EXPECTED
    echo "figure: recovery_page_requests[$case_name]=$(($(page_requests) - requests_before))"
    check "$case_name: page requests" "$(($(page_requests) - requests_before))" "$1"
}
cpu_while_down() {  # cpu_while_down SECONDS
    echo "figure: recovery_cpu_while_down[$case_name]=$(tree_cpu_rate "$program_pid" "$1") s/s (whole process tree, $1 s)"
}
# "no" sound from FROM to TO (wall-clock ms): no stretch of it that begins in between.
silent_between() {  # silent_between FROM TO
    tr ',' '\n' <<<"$(value segments "$work/tone-$case_name.txt")" |
        awk -F- -v a=$(($1 - recording_start_ms)) -v b=$(($2 - recording_start_ms)) \
            '$1 > a && $1 < b {n++} END {print n + 0}'
}

case_late_host() {
    station_page mp3
    page_server_stop
    launch_case late_host
    sleep 7
    # The program's own page, its blue band, where the station's would be.
    local x y
    read -r x y _ < <(window_facts "$player")
    check "late_host: the program's waiting page is shown" "$(pixel $((x + 100)) $((y + 2)))" 1b5e9b
    import -window root "$build_dir/linux-waiting-page.png"
    sleep $(((started + 10000 - $(now_ms)) / 1000)) 2>/dev/null || true
    page_server_start
    poll 5 page_server_up || true
    finish_case "$(now_ms)" 12000
    check_requests 1
}

case_http_503() {
    station_page mp3
    page_server_stop
    page_server_start --fail-first 1
    poll 5 page_server_up || true
    launch_case http_503
    poll 20 eval '[ "$(page_requests)" -gt "$requests_before" ]' || true
    finish_case "$(now_ms)" 8000
    check_requests 2
}

case_stream_late() {
    relay_stop
    station_page mp3
    sed -i "s|$(station_url mp3)|$(relay_url)|" "$_stations_dir/station/listenlive/zaviradio.html"
    launch_case stream_late
    sleep 5
    cpu_while_down 8
    sleep $(((started + 15000 - $(now_ms)) / 1000)) 2>/dev/null || true
    relay_start
    finish_case "$(now_ms)" 13000
    check_requests 1
}

case_hang() {
    relay_start
    station_page mp3
    sed -i "s|$(station_url mp3)|$(relay_url)|" "$_stations_dir/station/listenlive/zaviradio.html"
    launch_case hang
    sleep 8
    kill -USR1 "$relay_pid"
    # The buffer plays out first (4 s here, more on a slower machine), then 10 s without
    # progress, the retry, and the stream's start.
    finish_case "$(now_ms)" 25000
    check_requests 1
    relay_stop
}

# A player library that plays through new Audio(), never in the document.
detached_drop() {  # detached_drop PAGE
    station_page mp3 "$1"
    launch_case "$1"
    sleep 8
    drop_source mp3 5
    finish_case "$returned" 11000
    check_requests 1
}
case_howler() { detached_drop howler; }
case_amplitude() { detached_drop amplitude; }

case_hlsjs() {
    station_page hls hlsjs
    launch_case hlsjs
    sleep 10
    drop_source hls 10
    # The last resort comes 15 s into the silence, and again 15 s later if the first came
    # before the packager's new playlist could be played.
    finish_case "$returned" 35000 hls
    # The page is loaded again, as the last resort, once or twice, and once more for each
    # crash of its web process (WebKit's has crashed here, rarely, under hls.js).
    local requests=$(($(page_requests) - requests_before)) crashes
    crashes=$(engine_crashes hlsjs)
    echo "figure: recovery_page_requests[$case_name]=$requests (web process crashes: $crashes)"
    check "hlsjs: the page loaded again at most twice, and once per crash" \
        "$([ "$requests" -le $((3 + crashes)) ] && echo yes || echo "no, $requests")" yes
}

case_native_hls() {
    station_page hls
    launch_case native_hls
    sleep 10
    local off
    off=$(now_ms)
    drop_source hls 12
    finish_case "$returned" 16000 hls
    # What was buffered plays out after the stop; nothing starts again until the return.
    check "native_hls: no replay of the finished playlist while it is down" \
        "$(silent_between $((off + 1000)) "$returned")" 0
    check_requests 1
}

case_plyr() {
    station_page mp3 plyr
    launch_case plyr
    sleep 8
    source_off mp3
    sleep 8
    cpu_while_down 8
    source_on mp3
    poll 20 mount_up mp3 || true
    finish_case "$(now_ms)" 11000
    check_requests 1
}

case_crash() {
    station_page mp3
    launch_case crash
    sleep 8
    local pid crashed=0
    for pid in $(tree_pids "$program_pid"); do
        [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = WebKitWebProces ] || continue
        kill -KILL "$pid" && crashed=$((crashed + 1))
    done
    check "crash: the page's web process was there to crash" "$([ "$crashed" -ge 1 ] && echo yes)" yes
    local killed x y
    killed=$(now_ms)
    poll 10 eval '[ "$(page_requests)" -gt $((requests_before + 1)) ]' || true
    sleep 2
    read -r x y _ < <(window_facts "$player")
    check "crash: the page is drawn again" "$(page_drawn "$x" "$y" && echo yes)" yes
    import -window root "$build_dir/linux-after-crash.png"
    finish_case "$killed" 8000
    check_requests 2
    check "crash: the program says what happened on standard error" \
        "$(engine_crashes crash)" "$crashed"
}

# howler.js with the page's own pause button; BEFORE or AFTER: the listener pauses before
# a drop, or after the program brought one back (the library must still reach its element).
howler_paused() {  # howler_paused NAME before|after
    local name=$1 order=$2 x y paused
    station_page mp3 howler
    sed -i 's|</body>|<button onclick="sound.pause()" style="position: fixed; left: 0; top: 100px; width: 200px; height: 60px">Pause</button></body>|' \
        "$_stations_dir/station/listenlive/zaviradio.html"
    launch_case "$name"
    sleep 6
    [ "$order" = before ] || { drop_source mp3 5; sleep 12; }
    read -r x y _ < <(window_facts "$player")
    xdotool mousemove $((x + 100)) $((y + 130)) click 1
    paused=$(now_ms)
    sleep 2
    [ "$order" = after ] || { drop_source mp3 6; sleep 14; }
    sleep 4
    check "$name: the program still runs" "$(exited "$program_pid" && echo ended || echo running)" running
    click_x "$player"
    wait_for_exit "$program_pid"
    program_pid=
    check "$name: X ends it with code 0" "$code" 0
    recording_stop
    hear "$capture" "${station_hz[mp3]}" "$work/tone-$name.txt"
    echo "sound heard (ms into the recording): $(value segments "$work/tone-$name.txt"); paused at $((paused - recording_start_ms))"
    check "$name: heard before the pause" "$([ "$(value first_sound_ms "$work/tone-$name.txt")" != none ] && echo yes || echo no)" yes
    # Nothing heard from a second after the click: no sound still going, none begun.
    check "$name: silent from the pause on" \
        "$(tr ',' '\n' <<<"$(value segments "$work/tone-$name.txt")" |
            awk -F- -v a=$((paused + 1000 - recording_start_ms)) '$2 > a {n++} END {print n + 0}')" 0
    check_requests 1
}
case_paused() { howler_paused paused before; }
case_paused_after_drop() { howler_paused paused_after_drop after; }

for name in "${cases[@]}"; do
    "case_$name"
done

echo "end-to-end recovery: $failures failed"
[ "$failures" -eq 0 ]
