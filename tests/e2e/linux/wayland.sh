#!/usr/bin/env bash
# End to end on a Wayland desktop: Sway (wlroots), headless, with Xwayland, which shows X
# windows without their shapes. The start-up window sits in the output's corner and is
# see-through all the same (a grim screenshot shows the desktop's colour through it); the
# player is shown and draws the page; the tray icon is registered with swaybar's
# StatusNotifierWatcher; a second launch ends with 0; the compositor's close ends the
# program with 0. Sway refuses to run as root and its Xwayland admits only its own user:
# all of it runs as nobody, on a session bus of nobody's.
#   wayland.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin wayland "$build_dir"
[ "$(id -u)" -eq 0 ] || { echo "skipped: running as nobody needs root"; exit 0; }
serve_station "$port" "$station_dir"

home="$work/nobody" runtime="$work/nobody/run"
mkdir -p "$runtime"
chmod 755 "$work"
chmod 700 "$runtime"
chown -R nobody:nogroup "$home"
cat >"$home/sway.conf" <<CONF
xwayland enable
output HEADLESS-1 resolution 1280x800 position 0 0 bg #00ff00 solid_color
bar {
    position top
    tray_output *
    status_command sleep 1000000
}
exec sh -c 'echo "\$DISPLAY" >$home/display'
CONF
xdisplay= bus= swaysock=
as_nobody() {  # what is not known yet is not set (an empty SWAYSOCK keeps sway from its own)
    local known=()
    [ -z "$xdisplay" ] || known+=(DISPLAY="$xdisplay")
    [ -z "$bus" ] || known+=(DBUS_SESSION_BUS_ADDRESS="$bus")
    [ -z "$swaysock" ] || known+=(SWAYSOCK="$swaysock")
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin \
        HOME="$home" XDG_RUNTIME_DIR="$runtime" XDG_DATA_HOME="$home/data" \
        WAYLAND_DISPLAY=wayland-1 "${known[@]}" "$@"
}
# In a subshell of its own each time: it ends in exec, so a background one's $! is the
# program's own pid.
nobody() { (as_nobody "$@"); }
bus_info=$(nobody dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1)
bus=${bus_info%%$'\n'*} bus_pid=${bus_info##*$'\n'}
(as_nobody env -u WAYLAND_DISPLAY WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$home/sway.conf" >"$work/sway.log" 2>&1) &
sway_pid=$!
# Sway and all it started (its bar, Xwayland), then the bus: a swaybar left behind spins on
# the bus that went.
on_exit "kill -KILL \$(tree_pids $sway_pid) $bus_pid"
sway_up() { [ -s "$home/display" ] && compgen -G "$runtime/sway-ipc.*.sock" >/dev/null; }
poll 20 sway_up || { echo "FAILED: sway with Xwayland"; tail "$work/sway.log"; ls -la "$runtime" "$home"; exit 1; }
xdisplay=$(cat "$home/display")
swaysock=$(compgen -G "$runtime/sway-ipc.*.sock")
shot() { nobody grim "$home/shot.png" && cp "$home/shot.png" "$build_dir/linux-wayland-$1.png"; }
# A pixel of the last screenshot, as rrggbb.
shot_pixel() { convert "$home/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr A-F a-f; }
# As X sees the window: Xwayland admits only its own user.
facts() { nobody bash -c 'source "$1/screen.sh"; window_facts "$2"' _ "$harness" "$1"; }
viewable() { [ "$(facts "$1" | awk '{print $5}')" = IsViewable ]; }
registered() {
    nobody gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -q "org.kde.StatusNotifierItem"
}

echo "== the start-up window"
(as_nobody "$program" 2>>"$work/stderr.log") &
program_pid=$!
poll 20 viewable "$splash" || true
read -r left top width height _ <<<"$(facts "$splash")"
check "in the output's bottom-right corner" "$((left + width)),$((top + height))" 1280,800
# Drawn once its mask is made: the bar, 96 px down, neither the desktop's colour nor white.
bar_drawn() {
    shot splash
    local bar
    bar=$(shot_pixel $((left + 2)) $((top + 101)))
    [ "$bar" != 00ff00 ] && [ "$bar" != ffffff ]
}
check "its bar is drawn" "$(poll 5 bar_drawn && echo drawn || shot_pixel $((left + 2)) $((top + 101)))" drawn
check "see-through: the desktop's colour shows through its white" "$(shot_pixel $((left + 4)) $((top + 135)))" 00ff00

echo "== the player"
poll 20 viewable "$player" || true
check "the player is shown" "$(viewable "$player" && echo yes)" yes
# Where the compositor puts it, read again each time: it may still be placing it.
page_shown() {
    read -r left top _ <<<"$(facts "$player")"
    shot player
    [ "$(shot_pixel $((left + 100)) $((top + 2)))" = 9b1b30 ]
}
check "it draws the station's page" "$(poll 20 page_shown && echo yes || shot_pixel $((left + 100)) $((top + 2)))" yes
check "the tray icon is registered with swaybar's watcher" "$(poll 10 registered && echo yes)" yes
started=$(now_ms)
nobody "$program" 2>>"$work/stderr.log" && code=0 || code=$?
check "a second launch ends by itself with code 0" "$code" 0
echo "figure: wayland_second_launch_ms=$(($(now_ms) - started))"
nobody swaymsg "[title=\"^$player\$\"] kill" >/dev/null
wait_for_exit "$program_pid"
program_pid=
check "the compositor's close ends it with code 0" "$code" 0

echo "end-to-end wayland: $failures failed"
[ "$failures" -eq 0 ]
