# Sourced: a Wine prefix inside a build folder, and a display with a window manager and a
# notification area. wine_session_start BUILD_DIR [own]; wine_session_stop on exit.
# "own" always starts a private Xvfb (tests); otherwise an existing $DISPLAY is used.

WINE64=/usr/lib/wine/wine64
_wine_session_pids=()

wine_session_start() {
    local build_dir=$1 mode=${2:-}
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    # Keeps Wine from offering its Mono and Gecko downloads, which cannot be reached.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ "$mode" = own ] || [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 140); do
            [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
        done
        local screen=${ZAVI_SCREEN:-1280x800x24}
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
        _wine_session_pids+=($!)
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        # Without a window manager Wine waits two seconds on every hide of a window.
        openbox >/dev/null 2>&1 &
        _wine_session_pids+=($!)
        trayer --edge bottom --align right --widthtype request --height 24 \
            --transparent false >/dev/null 2>&1 &
        _wine_session_pids+=($!)
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE64" wineboot -i >/dev/null 2>&1
        # The windows ask for Windows' fonts; Liberation's have the same metrics.
        local face target
        for face in "Times New Roman=Liberation Serif" "Arial=Liberation Sans" \
                    "Arial Unicode MS=Liberation Sans"; do
            target=${face#*=}
            "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%=*}" \
                /t REG_SZ /d "$target" /f >/dev/null 2>&1
        done
        wineserver -w
    fi
    "$WINE64" wineboot -r >/dev/null 2>&1 || true
}

wine_session_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    local pid
    for pid in "${_wine_session_pids[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
    done
    _wine_session_pids=()
}
