#!/usr/bin/env bash
# Every test: installs what is missing, builds all four targets and the packages (for the
# loopback station host), runs the native unit tests, then the Linux program's tests,
# end-to-end checks and package test, each on a private desktop and loopback, side by side
# with the Windows tests, end-to-end checks and installer test under Wine; last, alone,
# what measures time or CPU. Prints the time each layer took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
# How long each layer took, printed at the end.
layer_started=0 layers=()
layer_done() { layers+=("$1 $((SECONDS - layer_started)) s"); layer_started=$SECONDS; }
# The Linux tests run side by side where each can have a network namespace of its own
# (tests/harness/isolated.sh); elsewhere one at a time.
linux_jobs=1
if unshare --net --mount true 2>/dev/null || unshare --net --mount --map-root-user true 2>/dev/null; then
    linux_jobs=4
fi

echo "== build: host, linux, win32 and win64"
for preset in host linux win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done
echo "== packages, for the loopback station host the tests serve"
STATION_HOST=$(sed -n 's/^ZAVI_STATION_HOST:INTERNAL=//p' build/linux/CMakeCache.txt) \
    bash scripts/package.sh
layer_done "set-up, builds and packages:"

echo "== host: portable logic with AddressSanitizer and UBSan"
ctest --preset host 2>&1 | tee -a "$log" || status=1
layer_done "host:"

echo "== win32: the release executable, its resources read back"
ctest --preset win32 2>&1 | tee -a "$log" || status=1

# Each build's tests on a desktop of their own (a Wine session for win64); the figures of
# every run kept, as each ctest run writes its log anew.
source tests/harness/wine-session.sh
figures=$(mktemp)
trap 'rm -f "$log" "$figures"' EXIT
linux_tests() {
    local result=0
    (
        unset DISPLAY
        desktop_start own
        trap desktop_stop EXIT
        ctest --preset linux -j "$linux_jobs" "$@" 2>&1
    ) || result=1
    cat build/linux/Testing/Temporary/LastTest.log >>"$figures" 2>/dev/null || true
    return "$result"
}
win64_tests() {
    local result=0
    (
        unset DISPLAY
        wine_session_start "$root/build/win64" own
        trap wine_session_stop EXIT
        ctest --preset win64 "$@" 2>&1
    ) || result=1
    cat build/win64/Testing/Temporary/LastTest.log >>"$figures" 2>/dev/null || true
    return "$result"
}

echo "== linux: the native program on GTK 3 and WebKitGTK, its windows, end to end, its package"
echo "== win64: Windows tests, end to end and the installer under Wine"
if [ "$linux_jobs" -gt 1 ]; then
    # Side by side, but for what measures time or CPU: that runs alone afterwards.
    linux_log=$(mktemp) win64_log=$(mktemp)
    linux_tests -LE measures >"$linux_log" 2>&1 &
    linux_pid=$!
    win64_tests -LE measures >"$win64_log" 2>&1 || status=1
    wait "$linux_pid" || status=1
    cat "$linux_log" "$win64_log" | tee -a "$log"
    rm -f "$linux_log" "$win64_log"
    layer_done "linux and win64, side by side:"
    echo "== linux and win64: what measures time or CPU, alone"
    linux_tests -L measures | tee -a "$log" || status=1
    win64_tests -L measures | tee -a "$log" || status=1
    layer_done "linux and win64, measuring alone:"
else
    linux_tests | tee -a "$log" || status=1
    layer_done "linux:"
    win64_tests | tee -a "$log" || status=1
    layer_done "win64:"
fi

# Figures from the end-to-end runs (measurements, not pass/fail conditions).
grep -h "^figure: " "$figures" || true

passed=0 failed=0
while read -r total_failed total; do
    failed=$((failed + total_failed))
    passed=$((passed + total - total_failed))
done < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log")
echo
printf 'time: %s\n' "${layers[@]}"
echo "$passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
