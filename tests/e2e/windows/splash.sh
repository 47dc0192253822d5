#!/usr/bin/env bash
# End to end: starts the real executable under Wine and checks its start-up window from
# outside the process: where it is, that white is keyed out, that it closes cleanly; then
# does the same on a screen smaller than the window. Prints the time to the splash.
#   splash.sh PROGRAM.exe PROBE.exe BUILD_DIR
set -euo pipefail
program=$1 probe=$2 build_dir=$3
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin splash "$build_dir" wine

tiny_desktop_exists() { xwininfo -root -tree | grep -q '"ZaviTiny - Wine desktop"'; }

echo "== start-up window on the whole screen"
"$WINE64" "$probe" wait "Zavi Radio" 20000 >"$work/probe.txt" &
probe_pid=$!
poll 30 has_line "$work/probe.txt" "ready=1" || { echo "FAILED: probe did not start"; exit 1; }
started=$(date +%s%3N)
launch
wait "$probe_pid" || true
cat "$work/probe.txt" | tr -d '\r'
found=$(value found "$work/probe.txt")
check "a window titled 'Zavi Radio' appears" "$found" 1
if [ "$found" = 1 ]; then
    echo "figure: splash_ms=$(($(value found_epoch_ms "$work/probe.txt") - started)) (process start to visible start-up window)"
    IFS=, read -r left top right bottom <<<"$(value rect "$work/probe.txt")"
    IFS=, read -r screen_w screen_h <<<"$(value screen "$work/probe.txt")"
    check "window's right edge on the screen's" "$right" "$screen_w"
    check "window's bottom edge on the screen's" "$bottom" "$screen_h"
    check "window size at 96 dpi" "$((right - left))x$((bottom - top))" "523x142"
    check "white is the colour key" "$(value layered "$work/probe.txt") $(value key "$work/probe.txt") $(value flags "$work/probe.txt")" "1 0x00ffffff 1"
    sleep 1
    check "the icon is docked in the notification area" "$(docked_icons_settled 1)" 1
    import -window root "$build_dir/splash-e2e.png"
    echo "screenshot: $build_dir/splash-e2e.png"
fi
# Two seconds in, the player takes over: close whichever windows are up by now.
"$WINE64" "$probe" close "Zavi Radio" >/dev/null || true
"$WINE64" "$probe" close "Velostan Zavi Radio Player" >/dev/null 2>&1 || true
exit_code=timeout
if poll 10 exited "$program_pid"; then
    wait "$program_pid" && exit_code=0 || exit_code=$?
fi
check "closing its windows ends the program with code 0" "$exit_code" 0
check "no icon is left in the notification area" "$(docked_icons_settled 0)" 0
[ "$exit_code" = timeout ] && kill "$program_pid" 2>/dev/null

echo "== start-up window on a screen smaller than itself (a 400x100 Wine desktop)"
desktop="/desktop=ZaviTiny,400x100"
"$WINE64" explorer "$desktop" "$program" &
tiny_pid=$!
# A second explorer started before the desktop exists would become its owner and stay.
poll 60 tiny_desktop_exists || true  # a cold Wine session takes seconds to make one
ZAVI_PROBE_OUT="$(winepath -w "$work/tiny.txt" 2>/dev/null)" \
    timeout 60 "$WINE64" explorer "$desktop" "$probe" find "Zavi Radio" 20000 &
poll 30 has_line "$work/tiny.txt" "^flags=\|^found=0" || true  # its last line
tr -d '\r' <"$work/tiny.txt" 2>/dev/null || true
check "the small screen is what the program sees" "$(value screen "$work/tiny.txt")" "400,100"
check "the window hangs off the top-left, unclamped" "$(value rect "$work/tiny.txt")" "-123,-42,400,100"
ZAVI_PROBE_OUT="$(winepath -w "$work/close.txt" 2>/dev/null)" \
    timeout 60 "$WINE64" explorer "$desktop" "$probe" close "Velostan Zavi Radio Player" &
poll 10 exited "$tiny_pid" || true
# A virtual desktop changes the screen size for the whole Wine session while it lives:
# end the session, so nothing run after this sees the small screen.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

echo "end-to-end: $failures failed"
[ "$failures" -eq 0 ]
