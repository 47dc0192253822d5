# Sourced by harness.sh: the desktop as a user's X tools see it: windows, docked icons,
# pixels, clicks.

# Wine docks each notification icon into trayer's panel as a window of its explorer.exe.
# The panel's children are the lines below it indented deeper, whether or not a window
# manager put the panel in a frame of its own.
_panel_children() {
    xwininfo -root -tree | awk '
        inside && match($0, /^ *0x/) && RLENGTH <= depth {inside = 0}
        inside && /"explorer.exe"/ {print $1}
        /"panel": \("panel" "trayer"\)/ {inside = 1; match($0, /^ *0x/); depth = RLENGTH}'
}
docked_icon() { _panel_children | head -n 1; }  # the X window of the first docked icon
docked_icons() { _panel_children | wc -l; }
docked_icons_are() { [ "$(docked_icons)" = "$1" ]; }
# The shell docks and drops icons on its own time: wait up to 3 s for the expected count.
docked_icons_settled() {
    poll 3 docked_icons_are "$1" || true
    docked_icons
}

# The X windows titled TITLE. A GTK program's client leader, an unmapped 10x10 window that
# carries the program's name for the session manager, is left aside: it is not a window.
titled_ids() {
    local id
    for id in $(xdotool search --name "^$1\$" 2>/dev/null || true); do
        [ "$(xprop -id "$id" WM_CLIENT_LEADER 2>/dev/null | awk '{print $NF}')" = "$(printf '0x%x' "$id")" ] ||
            echo "$id"
    done
}
window_facts() {  # window_facts TITLE: "X Y WIDTH HEIGHT MAP_STATE" of the window, a mapped one first
    local id chosen=
    for id in $(titled_ids "$1"); do
        [ -n "$chosen" ] || chosen=$id
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            chosen=$id
            break
        fi
    done
    [ -n "$chosen" ] || return 0
    xwininfo -id "$chosen" 2>/dev/null | awk '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} /Map State:/ {m = $NF}
        END {if (w) print x, y, w, h, m}'
}
# A popup menu is up, whichever process shows it (a panel's tray runs in a plugin process
# of its own).
menu_shown() {
    local id
    for id in $(xwininfo -root -children | awk '/^     0x/ {print $1}'); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_POPUP_MENU &&
            xwininfo -id "$id" | grep -q IsViewable && return 0
    done
    return 1
}
is_viewable() { [ "$(window_facts "$1" | awk '{print $5}')" = IsViewable ]; }
# How many X windows, mapped or not, carry exactly this title.
windows_titled() { titled_ids "$1" | wc -l; }
# The program's icons docked in the notification area: XEmbed windows with its tip's name
# that are shown (one that no tray took stays unmapped).
icons() {
    local n=0 id
    for id in $(xwininfo -root -tree | awk '/"Velostan Radio"/ {print $1}'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && n=$((n + 1))
    done
    echo "$n"
}
icons_are() { [ "$(icons)" = "$1" ]; }
# The colour of one screen pixel, as rrggbb.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr A-F a-f; }
# The sample page's top band (#9b1b30) is drawn in the player whose client area is at
# LEFT TOP: the page is on the screen.
page_drawn() {  # page_drawn LEFT TOP
    [ "$(pixel $(($1 + 100)) $(($2 + 2)))" = 9b1b30 ]
}

# Clicks the player's "X" (its button at the client area's top-left corner).
click_x() {  # click_x TITLE
    local x y
    read -r x y _ < <(window_facts "$1")
    xdotool mousemove $((x + 12)) $((y + 6)) click 1
}

# The probe (zavi_probe, from the script's $probe) under Wine: window facts as Windows
# reports them.
probe() { "$WINE64" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
# "windows visible minimized foreground" for the top-level windows with this title.
count() { probe count "$1" | sed 's/^[a-z]*=//' | paste -sd ' '; }
visible() { [ "$(count "$1" | awk '{print $2}')" -ge 1 ]; }
# The player minimized, as the window manager says.
player_hidden() { xprop -name "$player" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN; }
# Minimizes the player as its title bar's button does, asking again each second until the
# window manager has done it (a request made as it still sets the window up can be lost);
# gives up after 5 s.
minimize_player() {
    local try
    for try in 1 2 3 4 5; do
        xdotool windowminimize "$(titled_ids "$player" | head -n 1)" 2>/dev/null || true
        poll 1 player_hidden && return 0
    done
    return 1
}
