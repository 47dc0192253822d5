#!/usr/bin/env bash
# End to end on the desktops people use: two monitors with the primary anywhere among
# them, and high-DPI screens however the scale is given. Xorg's dummy driver gives GDK two
# real monitors. For each layout, the start-up window's bottom-right corner is on the
# primary monitor's and the player is centred on it; for each (GDK_SCALE, Xft.dpi), the
# windows have the same physical size as at 96 dpi times the scale, and no pixel of the
# key colour shows at the start-up window's see-through edges.
#   desktops.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin desktops "$build_dir"
[ "$(id -u)" -eq 0 ] || { echo "skipped: Xorg's dummy driver needs root"; exit 0; }
on_exit desktop_stop
dummy_display_start "$work/xorg" || { echo "FAILED: Xorg with the dummy driver"; exit 1; }
serve_station "$port" "$station_dir"

# One launch: the windows' facts ("X Y W H") in $splash_at and $player_at, the white
# pixels inside the start-up window in $white, whether the page was drawn in $drawn; a
# screenshot of each in the build folder.
look() {  # look NAME [ENV...]
    local name=$1 x y w h
    shift
    launch "$@"
    poll 20 is_viewable "$splash" || true
    sleep 0.3  # its mask made
    splash_at=$(window_facts "$splash" | cut -d' ' -f1-4)
    read -r x y w h <<<"$splash_at"
    white=$(import -window root -crop "${w}x${h}+${x}+${y}" +repage txt:- | grep -ci '#FFFFFF' || true)
    import -window root "$build_dir/linux-desktops-$name-splash.png"
    poll 20 is_viewable "$player" || true
    player_at=$(window_facts "$player" | cut -d' ' -f1-4)
    read -r x y _ <<<"$player_at"
    drawn=$(poll 15 page_drawn "$x" "$y" && echo yes || echo no)
    import -window root "$build_dir/linux-desktops-$name-player.png"
    kill "$program_pid"
    wait_for_exit "$program_pid"
    program_pid=
}
corner() { awk '{print $1 + $3 "," $2 + $4}' <<<"$1"; }
# The client area's centre; its frame's title bar shifts it down a little.
centre() { awk '{print $1 + int($3 / 2) "," $2 + int($4 / 2)}' <<<"$1"; }
near() {  # near "X,Y" "X,Y" PIXELS: yes when both are within PIXELS
    awk -F, -v a="$1" -v b="$2" -v d="$3" 'BEGIN {split(a, p); split(b, q);
        dx = p[1] - q[1]; dy = p[2] - q[2]; print (dx * dx <= d * d && dy * dy <= d * d) ? "yes" : a}'
}

echo "== two monitors"
#      name         primary     other
while read -r name primary other; do
    dummy_monitors "$primary" "$other"
    look "$name"
    IFS=, read -r px py <<<"$primary"
    check "$name: the start-up window's corner on the primary monitor's" \
        "$(corner "$splash_at")" "$((px + 1280)),$((py + 800))"
    check "$name: the player centred on the primary monitor" \
        "$(near "$(centre "$player_at")" "$((px + 640)),$((py + 400))" 16)" yes
done <<'LAYOUTS'
right_lower  1280,100    0,0
left_lower   0,200       1280,0
below        0,800       0,0
LAYOUTS

echo "== scale"
dummy_monitors 1280,100 0,0
#      GDK_SCALE  Xft.dpi  device pixels per 96-dpi pixel
while read -r scale dpi factor; do
    name="scale${scale}-dpi${dpi}"
    echo "Xft.dpi: $dpi" | xrdb -override
    look "$name" GDK_SCALE="$scale"
    check "$name: the start-up window's size" "$(cut -d' ' -f3-4 <<<"$splash_at")" \
        "$((523 * factor)) $((142 * factor))"
    check "$name: the player's client area" "$(cut -d' ' -f3-4 <<<"$player_at")" \
        "$((532 * factor)) $((334 * factor))"
    check "$name: the start-up window's corner on the primary monitor's" \
        "$(corner "$splash_at")" "2560,900"
    check "$name: no key colour at its see-through edges" "$white" 0
    check "$name: the page is drawn" "$drawn" yes
done <<'SCALES'
1 96  1
2 96  2
1 192 2
2 192 2
SCALES

echo "end-to-end desktops: $failures failed"
[ "$failures" -eq 0 ]
