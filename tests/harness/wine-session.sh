# Sourced: a Wine prefix inside a build folder, on the desktop of desktop-session.sh.
# wine_session_start BUILD_DIR [own]; wine_session_stop on exit.

source "$(dirname "${BASH_SOURCE[0]}")/desktop-session.sh"

WINE64=/usr/lib/wine/wine64

wine_session_start() {
    local build_dir=$1 mode=${2:-}
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    # Keeps Wine from offering its Mono and Gecko downloads, which cannot be reached.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    desktop_start "$mode"
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
    desktop_stop
}
