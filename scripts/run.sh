#!/usr/bin/env bash
# Builds the 64-bit program and runs it under Wine. Uses $DISPLAY when there is one, and
# otherwise starts a virtual X display of its own (its number is printed, so a screenshot
# can be taken with: DISPLAY=:N import -window root shot.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target zaviradio

source scripts/wine-session.sh
wine_session_start "$root/build/win64"
trap wine_session_stop EXIT
echo "Running on DISPLAY=$DISPLAY"
"$WINE64" "$root/build/win64/zaviradio10.01.29.exe"
