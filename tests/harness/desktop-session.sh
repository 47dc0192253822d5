# Sourced: an X display with a window manager and a notification area, for the program
# and its tests. desktop_start [own]; desktop_stop on exit. "own" always starts a private
# Xvfb (tests); otherwise an existing $DISPLAY is used.

_desktop_pids=()
_desktop_runtime=

desktop_start() {
    local mode=${1:-}
    if [ "$mode" != own ] && [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    # A login gives each session a private runtime folder; so does this desktop when it
    # is started without one (the program keeps its one-instance lock there).
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        _desktop_runtime=$(mktemp -d /tmp/zavi-runtime.XXXXXX)
        chmod 700 "$_desktop_runtime"
        export XDG_RUNTIME_DIR=$_desktop_runtime
    fi
    # A login gives each session a message bus too: the web engine offers the playing
    # page to the desktop's media controls on it, accessibility runs over it, and tray
    # icons and panels meet on it. A private desktop never shares the user's.
    if { [ "$mode" = own ] || [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; } &&
        command -v dbus-daemon >/dev/null; then
        local bus
        _desktop_outer_bus=${DBUS_SESSION_BUS_ADDRESS:-}
        bus=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1 2>/dev/null)
        export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
        _desktop_pids+=("${bus##*$'\n'}")
        _desktop_bus=1
    fi
    # Xvfb picks a free display number itself: tests side by side never race for one.
    local screen=${ZAVI_SCREEN:-1280x800x24} number i
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    _desktop_pids+=($!)
    _display_from "$number" || true
    rm -f "$number"
    for i in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    # Without a window manager Wine waits two seconds on every hide of a window. The panel
    # is started once it manages windows, so that it is framed and placed like any other.
    _window_manager_start
    # Programs placed against the panel need it there first. Now and then (twice in
    # some twenty starts) trayer never shows its panel: it is started again, and the
    # last try is kept whatever it does.
    local attempt trayer log
    log=$(mktemp)
    for attempt in 1 2 3; do
        trayer_start "$log"
        trayer=$!
        for i in $(seq 100); do
            _panel_shown && break 2
            sleep 0.1
        done
        [ "$attempt" = 3 ] || kill "$trayer" 2>/dev/null || true
    done
    if ! _panel_shown; then
        echo "desktop: trayer's panel did not show" >&2
        tail -n 5 "$log" >&2
    fi
    rm -f "$log"
    _desktop_pids+=("$trayer")
}

# The display an X server started with -displayfd writes to FILE once it is up, in
# $DISPLAY; false when none came in 5 s.
_display_from() {  # _display_from FILE
    local i
    for i in $(seq 100); do
        [ -s "$1" ] && break
        sleep 0.05
    done
    [ -s "$1" ] || return 1
    export DISPLAY=":$(head -n 1 "$1")"
}
# openbox on $DISPLAY, waited for until it manages windows.
_window_manager_start() {
    local i
    openbox >/dev/null 2>&1 &
    _desktop_pids+=($!)
    for i in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}

# The X11 tray, a panel at the screen's bottom right; its process id in $!.
trayer_start() {  # trayer_start [LOG]
    NO_AT_BRIDGE=1 trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --SetPartialStrut true --transparent false >"${1:-/dev/null}" 2>&1 &
}

_panel_shown() {
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"panel": \("panel" "trayer"\)/ {print $1; exit}')
    [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'
}

desktop_stop() {
    local pid
    for pid in "${_desktop_pids[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
    done
    _desktop_pids=()
    if [ -n "${_desktop_bus:-}" ]; then
        unset DBUS_SESSION_BUS_ADDRESS _desktop_bus
        [ -z "${_desktop_outer_bus:-}" ] || export DBUS_SESSION_BUS_ADDRESS=$_desktop_outer_bus
    fi
    if [ -n "$_desktop_runtime" ]; then
        rm -rf "$_desktop_runtime"
        unset XDG_RUNTIME_DIR
        _desktop_runtime=
    fi
}

# A display on Xorg's dummy driver, whose outputs DUMMY0 and DUMMY1 GDK sees as real
# monitors (Xvfb shows it one), with openbox. Needs root, as Xorg does.
dummy_display_start() {  # dummy_display_start FOLDER
    local folder=$1 number
    mkdir -p "$folder/conf.d"
    cat >"$folder/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2560 1600
    EndSubSection
EndSection
CONF
    number="$folder/display"
    Xorg -displayfd 3 -config "$folder/xorg.conf" -configdir "$folder/conf.d" -noreset \
        -nolisten tcp -logfile "$folder/xorg.log" 3>"$number" >/dev/null 2>&1 &
    _desktop_pids+=($!)
    _display_from "$number" || return 1
    _window_manager_start
    xrandr --newmode 1280x800 83.50 1280 1352 1480 1680 800 803 809 831 -hsync +vsync
    xrandr --addmode DUMMY0 1280x800
    xrandr --addmode DUMMY1 1280x800
}
# Two 1280x800 monitors: the primary at PRIMARY, the other at OTHER ("X,Y" each).
dummy_monitors() {  # dummy_monitors PRIMARY OTHER
    xrandr --output DUMMY0 --mode 1280x800 --pos "${1/,/x}" --primary \
        --output DUMMY1 --mode 1280x800 --pos "${2/,/x}"
}
