#!/usr/bin/env bash
# Builds the program with a loopback station host and runs it, with the sample station
# page (station/) served on that host: the native Linux program by default, the 64-bit
# Windows program under Wine with --wine. Uses $DISPLAY when there is one, and otherwise
# starts a virtual X display of its own (its number is printed, so a screenshot can be
# taken with: DISPLAY=:N import -window root shot.png).
#   run.sh [--wine]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=linux
[ "${1:-}" = --wine ] && build=win64

bash scripts/setup.sh
cmake --preset "$build" >/dev/null
cmake --build --preset "$build" -j "$(nproc)" --target zaviradio

host=$(sed -n 's/^ZAVI_STATION_HOST:INTERNAL=//p' "build/$build/CMakeCache.txt")
port=${host##*:}
log=$(mktemp)
/usr/bin/python3 tests/harness/stations/station_server.py "$port" "$root/station" "$log" &
server_pid=$!

if [ "$build" = win64 ]; then
    source tests/harness/wine-session.sh
    wine_session_start "$root/build/win64"
    trap 'kill $server_pid 2>/dev/null; rm -f "$log"; wine_session_stop' EXIT
    program=("$WINE64" "$root/build/win64/zaviradio10.01.29.exe")
else
    source tests/harness/desktop-session.sh
    desktop_start
    trap 'kill $server_pid 2>/dev/null; rm -f "$log"; desktop_stop' EXIT
    program=("$root/build/linux/zaviradio")
fi
echo "Running on DISPLAY=$DISPLAY; the station page is served at http://$host/"
status=0
"${program[@]}" || status=$?
echo "The program ended with code $status. Station requests:"
grep -v '^listening$' "$log" || echo "(none)"
exit "$status"
