#!/usr/bin/env bash
# End to end: the Linux program's tray icon wherever the desktop keeps one. With no
# StatusNotifierItem watcher, and with a watcher that has no host, the icon docks in the
# X11 tray (trayer). A real panel (xfce4-panel, whose tray is a watcher and a host, on its
# own config folder) starting, stopping and starting again moves the icon there and back,
# never two at once: its icon drawn, a click on it bringing the minimized player back,
# the item read over the session bus as a panel reads it (title, tooltip, pixels, the
# menu), Activate, the menu the program shows when a host asks (ContextMenu), and the
# panel's menu "Quit" ending the program with 0 and the icon gone. Under a Nepali locale the menu, read over the bus, is in Nepali, and its "Quit"
# clicked over the bus ends the program with 0. When the session's bus goes, the program
# plays on and its icon returns to the X11 tray. Prints the program's own memory with
# each kind of icon.
#   tray.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin tray "$build_dir" desktop
source "$harness/panel.sh"
panel_setup
on_exit panel_stop
serve_station "$port" "$station_dir"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAILED: no session bus"; exit 1; }

# Xfce's tray is an X11 tray too and takes that place from trayer; once the panel has
# gone, an X11 tray comes back, as on a desktop that has one: a trayer of the test's own.
x11_tray=
x11_tray_again() {
    [ -z "$x11_tray" ] || kill "$x11_tray" 2>/dev/null || true
    trayer_start
    x11_tray=$!
}
on_exit 'kill "$x11_tray"'
# The icon in the panel: its plugin is the panel's only one, at its left end.
icon_x=12 icon_y=15

bus() { gdbus call --session --dest "$1" --object-path "$2" --method "$3" -- "${@:4}" 2>/dev/null; }
bus_names() { bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.ListNames; }
has_bus_name() { bus_names | grep -q "'$1'"; }
# The item of the program under test, by its process id (each item's name carries it).
item() { bus_names | grep -o "org\.kde\.StatusNotifierItem-$program_pid-[0-9]*" | head -n 1 || true; }
property() { bus "$(item)" /StatusNotifierItem org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1"; }
menu_labels() {
    bus "$(item)" /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '@as []' |
        grep -o "'label': <'[^']*'>" | sed "s/'label': <'\(.*\)'>/\1/" | paste -sd '|'
}
registered() {
    local name
    name=$(item)
    [ -n "$name" ] && bus org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        RegisteredStatusNotifierItems | grep -q "$name"
}
no_item() { [ -z "$(item)" ]; }
shown() { ! player_hidden; }
# Where each icon is: "XEMBED ITEM", the icons docked in the X11 tray and our registered items.
places() { echo "$(icons) $(registered && echo 1 || echo 0)"; }
places_are() { [ "$(places)" = "$1" ]; }

echo "== no watcher: the X11 tray"
launch
poll 20 is_viewable "$player" || true
poll 5 icons_are 1 || true
check "docked in the X11 tray, no item on the bus" "$(places) $(no_item && echo none)" "1 0 none"
sleep 2
echo "figure: tray_own_private_kb[xembed]=$(process_kb "$program_pid" Private) (the program's own process, player up)"

echo "== a watcher without a host"
status-notifier-watcher >/dev/null 2>&1 &
watcher_pid=$!
# Ended at the clean-up only while still running: pids wrap at 32768 here, and an ended
# one's number may be another test's process by then.
on_exit '[ -z "$watcher_pid" ] || kill "$watcher_pid"'
poll 5 has_bus_name org.kde.StatusNotifierWatcher || true
sleep 1
check "still in the X11 tray, no item" "$(places) $(no_item && echo none)" "1 0 none"
kill "$watcher_pid"
wait "$watcher_pid" 2>/dev/null || true
watcher_pid=
poll 5 eval '! has_bus_name org.kde.StatusNotifierWatcher' || true

echo "== a panel starts: its StatusNotifierItem host"
panel_start
poll 10 places_are "0 1" || true
check "moved to the panel: registered, nothing docked in the X11 tray" "$(places)" "0 1"
sleep 1
import -window root -crop 64x32+0+0 +repage "$work/with-icon.png"
cp "$work/with-icon.png" "$build_dir/linux-tray-sni.png"
echo "screenshot: $build_dir/linux-tray-sni.png"
echo "figure: tray_own_private_kb[sni]=$(process_kb "$program_pid" Private) (the program's own process, player up)"
check "id and title" "$(property Id) $(property Title)" \
    "(<'np.com.velostan.ZaviRadio'>,) (<'Zavi Radio'>,)"
# The tip says what plays: the sample page's Media Session title and artist.
check "tooltip" "$(property ToolTip)" "(<('', @a(iiay) [], 'Zavi Radio - Velostan', '')>,)"
check "a left click is not the menu" "$(property ItemIsMenu) $(property Menu)" \
    "(<false>,) (<objectpath '/MenuBar'>,)"
# Every image square, four bytes a pixel, not all transparent; the sizes panels draw.
check "the icon as pixels" "$(property IconPixmap | python3 -c '
import re, sys
text = sys.stdin.read()
sizes = []
for w, h, data in re.findall(r"\((\d+), (\d+), \[(?:byte )?([^\]]*)\]\)", text):
    values = [int(b, 16) for b in data.split(", ")]
    if int(w) != int(h) or len(values) != int(w) * int(h) * 4 or not any(values[0::4]):
        sizes.append("bad" + w)
    else:
        sizes.append(w)
print(" ".join(sizes))')" "16 22 24 32 48 64"
# The radio's items, then the window's own.
radio_menu() { menu_labels | sed 's/.*\(Pause|Mute|Sleep timer\).*\(Start at login|Show player|Quit\)$/\1 \2/'; }
check "the menu" "$(radio_menu)" "Pause|Mute|Sleep timer Start at login|Show player|Quit"

minimize_player || true
xdotool mousemove "$icon_x" "$icon_y" click 1
poll 5 shown || true
check "a click on the panel's icon brings the minimized player back" "$(shown && echo shown)" shown
minimize_player || true
bus "$(item)" /StatusNotifierItem org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
poll 5 shown || true
check "Activate over the bus does the same" "$(shown && echo shown)" shown

echo "== the panel stops, and starts again"
panel_stop
x11_tray_again
poll 10 places_are "1 0" || true
check "back in the X11 tray, the item gone" "$(places) $(no_item && echo none)" "1 0 none"
panel_start
poll 10 places_are "0 1" || true
check "in the panel again, one icon" "$(places)" "0 1"
check "with its menu" "$(radio_menu)" "Pause|Mute|Sleep timer Start at login|Show player|Quit"
# A host that asks the program to show the menu itself, at a point on the screen.
minimize_player || true
bus "$(item)" /StatusNotifierItem org.kde.StatusNotifierItem.ContextMenu 400 300 >/dev/null
poll 5 menu_shown || true
xdotool key Up Up Return  # "Show player", above the last item
poll 5 shown || true
check "ContextMenu shows the menu, whose \"Show player\" brings the player back" \
    "$(shown && echo shown)" shown

echo "== the panel's menu: Quit"
xdotool mousemove "$icon_x" "$icon_y" click 3
poll 5 menu_shown || true
xdotool key Up Return  # the menu's last item
wait_for_exit "$program_pid"
check "Quit from the panel's menu ends the program with code 0" "$code" 0
watcher_items() {
    bus org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems
}
poll 5 eval '[ "$(watcher_items)" = "(<@as []>,)" ]' || true
check "the panel's icon is gone, and none docked" "$(watcher_items) $(icons)" "(<@as []>,) 0"
import -window root -crop 64x32+0+0 +repage "$work/without-icon.png"
drawn=$(compare -metric AE "$work/with-icon.png" "$work/without-icon.png" null: 2>&1 || true)
check "the icon was drawn in the panel (pixels that change when it goes)" \
    "$([ "${drawn%% *}" -gt 100 ] 2>/dev/null && echo drawn || echo "$drawn")" drawn

echo "== in Nepali"
# A Nepali locale of the test's own, as a Nepali desktop has one.
mkdir -p "$work/locale"
localedef -i ne_NP -f UTF-8 "$work/locale/ne_NP.UTF-8"
launch LOCPATH="$work/locale" LANG=ne_NP.UTF-8 LC_ALL= LANGUAGE=
poll 20 registered || true
nepali_radio() { menu_labels | grep -q 'रोक्नुहोस्'; }
poll 10 nepali_radio || true  # the radio's items, once the player is up
check "the menu read over the bus" "$(menu_labels | sed 's/.*\(रोक्नुहोस्|आवाज बन्द\).*\(प्लेयर देखाउनुहोस्|बन्द गर्नुहोस्\)$/\1 \2/')" \
    "रोक्नुहोस्|आवाज बन्द प्लेयर देखाउनुहोस्|बन्द गर्नुहोस्"
quit_id=$(bus "$(item)" /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '@as []' |
    sed -n "s/.*<(\([0-9]*\), {'label': <'बन्द गर्नुहोस्'>.*/\1/p")
bus "$(item)" /MenuBar com.canonical.dbusmenu.Event "${quit_id:-0}" clicked '<0>' 0 >/dev/null
wait_for_exit "$program_pid"
check "its Quit clicked over the bus ends the program with code 0" "$code" 0
check "the item is gone" "$(no_item && echo none)" none

echo "== the session's bus goes"
desktop_bus=$DBUS_SESSION_BUS_ADDRESS
# One launch on a bus of its own (the desktop's stays for the tests after this one), the
# bus killed once the page is loading, and the panel (an X11 tray too) stopped with it:
# the icon moves back into an X11 tray that may be going as it docks.
bus_info=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=${bus_info%%$'\n'*}
bus_pid=${bus_info##*$'\n'}
on_exit '[ -z "$bus_pid" ] || kill "$bus_pid"'
panel_start
requested=$(gets)
launch
poll 20 registered || true
check "in the panel on the new bus" "$(places)" "0 1"
poll 20 is_viewable "$player" || true
poll 20 eval '[ "$(gets)" -gt "$requested" ]' || true
sleep 2  # the station's page loading, past the hand-off
kill "$bus_pid"
bus_pid=
panel_stop
x11_tray_again
poll 10 icons_are 1 || true
bus_loss=running
if exited "$program_pid"; then wait "$program_pid" && bus_loss="ended 0" || bus_loss="ended $?"; fi
bus_loss="$bus_loss $(icons)"
export DBUS_SESSION_BUS_ADDRESS=$desktop_bus
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
check "the program plays on, its icon back in the X11 tray" "$bus_loss" "running 1"

# The web engine's sandboxed process cannot see the locale made in the test's own folder,
# and says so: a Nepali desktop has its locale where every process sees it. When the test
# takes the session's bus away, the web process can say it could not let its media
# controls' name go: the engine's child, not the program.
check "no GTK or GLib warnings on standard error" \
    "$(grep -E '(Gtk|Gdk|GLib|GLib-GIO)-(WARNING|CRITICAL)' "$work/stderr.log" |
        grep -v -e 'Locale not supported by C library' \
            -e 'WebKitWebProcess.*Error releasing name org.mpris' | head -n 3 || true)" ""
echo "end-to-end tray: $failures failed"
[ "$failures" -eq 0 ]
