#!/usr/bin/env bash
# Every test: installs what is missing, builds all four targets, runs the native unit
# tests, the Linux program's tests and end-to-end check on a private desktop, then the
# Windows tests and the end-to-end checks under Wine on another.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0

echo "== host: portable logic with AddressSanitizer and UBSan"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host 2>&1 | tee -a "$log" || status=1

echo "== linux: the native program on GTK 3 and WebKitGTK, its windows and end to end"
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs"
source scripts/desktop-session.sh
(
    unset DISPLAY
    desktop_start own
    trap desktop_stop EXIT
    ctest --preset linux 2>&1
) | tee -a "$log" || status=1

echo "== win32: the release executable, its resources read back"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win32 2>&1 | tee -a "$log" || status=1

echo "== win64: Windows tests and end to end under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
source scripts/wine-session.sh
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
