#!/usr/bin/env bash
# Builds the 64-bit program with a loopback station host and runs it under Wine, with the
# sample station page (station/) served on that host. Uses $DISPLAY when there is one, and
# otherwise starts a virtual X display of its own (its number is printed, so a screenshot
# can be taken with: DISPLAY=:N import -window root shot.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target zaviradio

host=$(sed -n 's/^STATION_HOST:STRING=//p' build/win64/CMakeCache.txt)
port=${host##*:}
log=$(mktemp)
/usr/bin/python3 tests/e2e/station_server.py "$port" "$root/station" "$log" &
server_pid=$!

source scripts/wine-session.sh
wine_session_start "$root/build/win64"
trap 'kill $server_pid 2>/dev/null; rm -f "$log"; wine_session_stop' EXIT
echo "Running on DISPLAY=$DISPLAY; the station page is served at http://$host/"
status=0
"$WINE64" "$root/build/win64/zaviradio10.01.29.exe" || status=$?
echo "The program ended with code $status. Station requests:"
grep -v '^listening$' "$log" || echo "(none)"
exit "$status"
