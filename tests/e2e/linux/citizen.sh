#!/usr/bin/env bash
# End to end: the real Linux program as a good citizen of the desktop, seen from outside.
# The tray icon: a left click during the start-up window changes nothing; with the player
# minimized it brings it back; a right click opens a menu whose "Quit" ends the program
# with 0 and withdraws the icon. A station page that tries to take the player elsewhere:
# a link and window.open to another host reach the user's default browser (a stand-in
# registered for http in a private XDG_DATA_HOME) and nothing else opens; a link within
# the station's host stays in the player; a download is refused; location, microphone
# and notifications are refused and the page sees it. The web process runs in its
# sandbox (bubblewrap, a mount namespace of its own). With no display at all (a Wayland
# desktop without Xwayland) it ends with 1 and says why in the desktop's notifications.
#   citizen.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_src=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin citizen "$build_dir" desktop

# A home of its own, with a stand-in default browser that only writes down what it is given.
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME"
cat >"$work/standin-browser" <<SH
#!/bin/sh
echo "\$1" >>"$work/browser.log"
SH
chmod +x "$work/standin-browser"
cat >"$XDG_DATA_HOME/applications/standin-browser.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Stand-in browser
Exec=$work/standin-browser %u
MimeType=x-scheme-handler/http;x-scheme-handler/https;
NoDisplay=true
DESKTOP
cat >"$XDG_CONFIG_HOME/mimeapps.list" <<LIST
[Default Applications]
x-scheme-handler/http=standin-browser.desktop
x-scheme-handler/https=standin-browser.desktop
LIST

# The station: its page replaced by one that tries everything, each control a box of its
# own at a known place; what the page learns it reports by asking for /report/WHAT.
cp -r "$station_src" "$work/station"
elsewhere="http://127.0.0.2:$port/elsewhere.html"
# Another host (this server under another name) whose answer is an error page.
missing="http://localhost:$port/listenlive/missing.html"
cat >"$work/station/listenlive/zaviradio.html" <<HTML
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>A page that tries</title>
<style>body{margin:0} .c{position:absolute;left:20px;width:220px;height:36px;display:block;
background:#9b1b30;color:white;border:0;font:16px sans-serif}</style></head>
<body>
<a class="c" id="out" style="top:20px" href="$elsewhere">elsewhere</a>
<button class="c" id="pop" style="top:70px" onclick="window.open('$elsewhere?popup')">popup</button>
<a class="c" id="dl" style="top:120px" href="/listenlive/file.bin" download>download</a>
<a class="c" id="bin" style="top:170px" href="/listenlive/file.bin">binary</a>
<a class="c" id="in" style="top:220px" href="/listenlive/inside.html">inside</a>
<script>
const report = (what) => fetch('/report/' + what).catch(() => {});
navigator.geolocation.getCurrentPosition(() => report('location-granted'),
    (e) => report('location-refused-' + e.code));
if (navigator.mediaDevices && navigator.mediaDevices.getUserMedia) {
    navigator.mediaDevices.getUserMedia({audio: true}).then(() => report('microphone-granted'),
        (e) => report('microphone-refused-' + e.name));
} else {
    report('microphone-absent');
}
Notification.requestPermission().then((p) => report('notifications-' + p));
</script></body></html>
HTML
cat >"$work/station/listenlive/inside.html" <<HTML
<!DOCTYPE html><title>inside</title><body style="margin:0">
<button style="position:absolute;left:20px;top:20px;width:220px;height:36px"
  onclick="location.href='$missing'">gone</button>
<script>fetch("/report/inside-loaded")</script></body>
HTML
head -c 4096 /dev/urandom >"$work/station/listenlive/file.bin"

serve_station "$port" "$work/station"

requested() { grep -c " GET $1" "$work/requests.log" 2>/dev/null || true; }
tray_icon() { xwininfo -root -tree | awk '/"Velostan Radio"/ {print $1; exit}'; }
click_icon() { xdotool mousemove --window "$(tray_icon)" 4 4 click "$1"; }
menus() { { xdotool search --onlyvisible --class zaviradio 2>/dev/null || true; } | wc -l; }
mapped() { [ "$(window_facts "$player" | awk '{print $5}')" = IsViewable ]; }

echo "== the tray icon during the start-up window"
launch
poll 10 icons_are 1 || true
check "the icon is docked" "$(icons)" 1
click_icon 1
sleep 0.3
check "a click on it changes nothing: no player yet" "$(windows_titled "$player")" 0
check "the start-up window is still up" "$(is_viewable "$splash" && echo yes)" yes

echo "== the page's attempts"
poll 20 is_viewable "$player" || true
# The three answers come in any order.
all_answered() {
    has_line "$work/requests.log" "location-" && has_line "$work/requests.log" "microphone-" &&
        has_line "$work/requests.log" "notifications-"
}
poll 10 all_answered || true
check "location is refused, and the page is told so" "$(requested /report/location-refused-1)" 1
check "the microphone is refused or absent" \
    "$(grep -c -e 'microphone-refused' -e 'microphone-absent' "$work/requests.log" || true)" 1
check "notifications are refused" "$(requested /report/notifications-denied)" 1
check "nothing was granted" "$(grep -c 'granted' "$work/requests.log" || true)" 0

read -r left top _ <<<"$(window_facts "$player")"
click_page() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; }
all_windows() { { xdotool search --onlyvisible --name '.' 2>/dev/null || true; } | wc -l; }
windows_before=$(all_windows)
click_page 60 38  # the link to another host
poll 5 has_line "$work/browser.log" "elsewhere.html$" || true
check "a link to another host goes to the default browser" \
    "$(grep -c "^$elsewhere\$" "$work/browser.log" 2>/dev/null || true)" 1
click_page 60 88  # window.open to another host
poll 5 has_line "$work/browser.log" "popup" || true
check "window.open to another host goes to the default browser" \
    "$(grep -c "^$elsewhere?popup\$" "$work/browser.log" 2>/dev/null || true)" 1
sleep 0.5
# No more than before: one that was up for a moment then (a tip) may have gone since.
check "no window of ours opened" \
    "$(now=$(all_windows); [ "$now" -le "$windows_before" ] && echo none || echo "$((now - windows_before)) more")" none
click_page 60 138  # <a download>
click_page 60 188  # a file the engine cannot show
sleep 1
check "nothing was downloaded" "$(find "$HOME" -name 'file*.bin' | wc -l)" 0
check "the player still shows the station's page" "$(pixel $((left + 200)) $((top + 30)))" 9b1b30
click_page 60 238  # within the station's host
poll 5 has_line "$work/requests.log" "inside-loaded" || true
check "a link within the station's host stays in the player" "$(requested /report/inside-loaded)" 1
stations_before=$(gets)
click_page 60 38  # there, a script sends the top page to another host, which answers 404
poll 5 has_line "$work/browser.log" "missing.html$" || true
check "a script's way to another host's error page goes to the default browser" \
    "$(grep -c "^$missing\$" "$work/browser.log" 2>/dev/null || true)" 1
sleep 3
check "and is no failure of the station's: its page is not asked for again" "$(gets)" "$stations_before"
check "only the three addresses went to the browser" "$(wc -l <"$work/browser.log")" 3

echo "== the web process's sandbox"
web=$(pgrep -f WebKitWebProcess -P "$(pgrep -d, -P "$program_pid")" 2>/dev/null | head -1 || true)
[ -n "$web" ] || web=$(for p in $(tree_pids "$program_pid"); do
    [ "$(cat "/proc/$p/comm" 2>/dev/null)" = WebKitWebProces ] && echo "$p"; done | head -1)
check "the web process is found" "$([ -n "$web" ] && echo yes)" yes
check "it has a mount namespace of its own" \
    "$([ "$(readlink "/proc/$web/ns/mnt")" != "$(readlink "/proc/$program_pid/ns/mnt")" ] && echo yes)" yes
check "bubblewrap started it" "$(cat "/proc/$(awk '{print $4}' "/proc/$web/stat")/comm")" bwrap

echo "== the tray icon with the player up"
minimize_player || true
poll 5 eval '! mapped' || true
check "the player is minimized" "$(mapped && echo shown || echo minimized)" minimized
click_icon 1
poll 5 mapped || true
check "a left click brings it back" "$(mapped && echo shown || echo minimized)" shown
menus_before=$(menus)
click_icon 3
poll 5 eval '[ "$(menus)" -gt "$menus_before" ]' || true
check "a right click opens the menu" "$(($(menus) - menus_before))" 1
xdotool key Escape
poll 5 eval '[ "$(menus)" -eq "$menus_before" ]' || true
check "Escape closes it, and nothing else happens" "$(exited "$program_pid" && echo ended || echo running)" running
click_icon 3
poll 5 eval '[ "$(menus)" -gt "$menus_before" ]' || true
xdotool key Up Return  # the last item, "Quit"
wait_for_exit "$program_pid"
program_pid=
check "\"Quit\" ends the program with code 0" "$code" 0
check "and withdraws the icon" "$(poll 3 icons_are 0; icons)" 0

echo "== no display"
dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" \
    >"$work/notices.log" 2>&1 &
on_exit "kill $!"
poll 5 has_line "$work/notices.log" NameAcquired || true
env -u DISPLAY -u WAYLAND_DISPLAY "$program" 2>"$work/no-display.log" && code=0 || code=$?
check "with no display it ends with code 1" "$code" 1
check "and says so in a desktop notification" \
    "$(poll 5 has_line "$work/notices.log" "needs an X display" && echo yes)" yes

echo "end-to-end desktop citizen: $failures failed"
[ "$failures" -eq 0 ]
