# Sourced: a PulseAudio server of the test's own with one null sink, whose monitor can be
# recorded. sound_start DIR; sound_stop on exit. Clients find it through $PULSE_SERVER.

_sound_pid= _sound_dir=

sound_start() {
    _sound_dir=$(realpath -m "$1")
    mkdir -p "$_sound_dir"
    cat >"$_sound_dir/pa.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$_sound_dir/native
load-module module-null-sink sink_name=nullsink
set-default-sink nullsink
PA
    HOME="$_sound_dir" XDG_RUNTIME_DIR="$_sound_dir" pulseaudio -n -F "$_sound_dir/pa.pa" \
        --exit-idle-time=-1 --daemonize=no --use-pid-file=no --system=false \
        >>"$_sound_dir/pulseaudio.log" 2>&1 &
    _sound_pid=$!
    export PULSE_SERVER="unix:$_sound_dir/native"
    local i
    for i in $(seq 50); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "FAILED: the sound server did not start"; cat "$_sound_dir/pulseaudio.log"
    return 1
}

# PulseAudio 16 has aborted, rarely, as a client left. That is the test machine's sound
# server failing, not the program; it is said, with its log, and started again so the
# recordings after it still hear.
_sound_revive() {
    [ -n "$_sound_pid" ] && ! kill -0 "$_sound_pid" 2>/dev/null || return 0
    echo "note: the test's sound server had ended; its log's last lines:"
    tail -n 5 "$_sound_dir/pulseaudio.log" | sed 's/^/    /'
    sound_start "$_sound_dir"
}

sound_stop() {
    if [ -n "$_sound_pid" ]; then
        kill "$_sound_pid" 2>/dev/null || true
    fi
    _sound_pid=
}

# Records the sink's output into FILE until recording_stop, which leaves in
# $recording_start_ms the wall-clock time of the recording's first sample (placed from
# its end and its length, since the sound server starts it when it is ready).
_recorder_pid=
recording_start() {  # recording_start FILE
    _sound_revive
    parec --format=s16le --rate=44100 --channels=2 -d nullsink.monitor --latency-msec=20 \
        >"$1" &
    _recorder_pid=$!
    _recording=$1
}
recording_stop() {
    kill "$_recorder_pid" 2>/dev/null || true
    wait "$_recorder_pid" 2>/dev/null || true
    local ended bytes
    ended=$(date +%s%3N)
    bytes=$(stat -c %s "$_recording")
    recording_start_ms=$((ended - bytes / 176400 * 1000 - (bytes % 176400) * 1000 / 176400))
    _recorder_pid=
}

# "yes" when a measured frequency (tone.py's frequency_hz) is within 1 % of the expected
# one, else what was measured.
within_one_percent() {  # within_one_percent MEASURED EXPECTED
    awk -v f="$1" -v e="$2" 'BEGIN {d = f - e; if (d < 0) d = -d; print (f != "none" && f != "" && d <= e / 100) ? "yes" : f}'
}

# What tests/harness/tone.py hears of a tone of HZ in the recording, written to REPORT.
hear() {  # hear CAPTURE HZ REPORT
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/tone.py" "$1" "$2" >"$3"
}
