#!/usr/bin/env bash
# Every test: installs what is missing, builds all four targets and the packages (for the
# loopback station host), runs the native unit tests, the Linux program's tests, end-to-end
# checks and package test on a private desktop, then the Windows tests, the end-to-end
# checks and the installer test under Wine on another.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0

echo "== build: host, linux, win32 and win64"
for preset in host linux win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done
echo "== packages, for the loopback station host the tests serve"
STATION_HOST=$(sed -n 's/^ZAVI_STATION_HOST:INTERNAL=//p' build/linux/CMakeCache.txt) \
    bash scripts/package.sh

echo "== host: portable logic with AddressSanitizer and UBSan"
ctest --preset host 2>&1 | tee -a "$log" || status=1

echo "== linux: the native program on GTK 3 and WebKitGTK, its windows, end to end, its package"
source tests/harness/desktop-session.sh
(
    unset DISPLAY
    desktop_start own
    trap desktop_stop EXIT
    ctest --preset linux 2>&1
) | tee -a "$log" || status=1

echo "== win32: the release executable, its resources read back"
ctest --preset win32 2>&1 | tee -a "$log" || status=1

echo "== win64: Windows tests, end to end and the installer under Wine"
source tests/harness/wine-session.sh
unset DISPLAY
wine_session_start "$root/build/win64" own
trap 'wine_session_stop; rm -f "$log"' EXIT
ctest --preset win64 2>&1 | tee -a "$log" || status=1

# Figures from the end-to-end runs (measurements, not pass/fail conditions).
grep -h "^figure: " "$root/build/linux/Testing/Temporary/LastTest.log" \
    "$root/build/win64/Testing/Temporary/LastTest.log" 2>/dev/null || true

passed=0 failed=0
while read -r total_failed total; do
    failed=$((failed + total_failed))
    passed=$((passed + total - total_failed))
done < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log")
echo
echo "$passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
