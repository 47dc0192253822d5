#!/usr/bin/env bash
# The Debian package, checked and then installed as a user does: its control fields,
# files and dependencies; a stripped, hardened binary; lintian, desktop-file-validate and
# appstreamcli. Then (as root) `apt-get install ./zaviradio_VERSION_amd64.deb` on this
# machine, which must already have what it depends on, so that the test can leave it
# exactly as it found it; the program started as a menu starts it (gtk-launch with the
# desktop id, a fresh HOME), its windows seen and its station heard; "X" ends it; it
# leaves no file of its own in HOME; `apt-get purge` leaves no file of it and the same packages.
#   deb_e2e.sh PACKAGES_DIR BUILD_DIR STATION_DIR PORT
set -euo pipefail
packages=$(realpath "$1") build_dir=$(realpath "$2") station_dir=$3 port=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../harness/harness.sh"
version=$(sed -n 's/^project(ZaviRadio VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
deb="$packages/zaviradio_${version}_amd64.deb"
[ -f "$deb" ] || { echo "FAILED: $deb is missing (bash scripts/package.sh builds it)"; exit 1; }
app=np.com.velostan.ZaviRadio
harness_begin deb "$build_dir" desktop sound
installed=
# The menu starts the program apart from this script: it is found by its window on this
# test's own display, never by its name (another copy may play elsewhere on the machine).
window_pid() {  # window_pid TITLE: the process that owns the window, or nothing
    local id
    id=$(titled_ids "$1" | head -1)
    [ -z "$id" ] || xdotool getwindowpid "$id" 2>/dev/null || true
}
# A test stopped half way still takes its package away again.
on_exit 'kill "${program_pid:-$(window_pid "$player")}"'
on_exit '[ -z "$installed" ] || apt-get purge -y -qq zaviradio'
echo "figure: deb_size=$(($(stat -c %s "$deb") / 1024)) KiB (installed $(dpkg-deb -f "$deb" Installed-Size) KiB)"

echo "== the package"
field() { dpkg-deb -f "$deb" "$1"; }
check "Package" "$(field Package)" zaviradio
check "Version: all four numbers" "$(field Version)" "$version"
check "Architecture" "$(field Architecture)" amd64
check "Section" "$(field Section)" sound
depends=$(field Depends)
for need in libwebkit2gtk-4.1-0 libgtk-3-0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
            gstreamer1.0-plugins-bad "gstreamer1.0-pulseaudio |"; do
    check "Depends on $need" "$(grep -qF -- "$need" <<<"$depends" && echo yes)" yes
done
check "Recommends the Devanagari font" "$(field Recommends | grep -o fonts-lohit-deva-nepali)" fonts-lohit-deva-nepali
check "Recommends Xwayland where there is no X server" "$(field Recommends | grep -o 'xwayland | xserver-xorg-core')" \
    "xwayland | xserver-xorg-core"
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/files"
expected="/usr/bin/zaviradio
/usr/share/applications/$app.desktop
/usr/share/doc/zaviradio/changelog.gz
/usr/share/doc/zaviradio/copyright
/usr/share/icons/hicolor/128x128/apps/$app.png
/usr/share/icons/hicolor/16x16/apps/$app.png
/usr/share/icons/hicolor/256x256/apps/$app.png
/usr/share/icons/hicolor/32x32/apps/$app.png
/usr/share/icons/hicolor/48x48/apps/$app.png
/usr/share/locale/ne/LC_MESSAGES/zaviradio.mo
/usr/share/man/man1/zaviradio.1.gz
/usr/share/metainfo/$app.metainfo.xml"
check "its files" "$(paste -sd ' ' "$work/files")" "$(sort <<<"$expected" | paste -sd ' ')"
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
for size in 16 32 48 128 256; do
    check "the ${size} px icon" "$(identify -format '%wx%h %[channels]' "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/$app.png")" "${size}x${size} srgba"
done
binary="$work/root/usr/bin/zaviradio"
check "the binary is stripped" "$(file -b "$binary" | grep -o 'stripped' | tail -1) $(file -b "$binary" | grep -c 'not stripped')" "stripped 0"
check "hardened: relro and bind now" "$(readelf -lW "$binary" | grep -c GNU_RELRO) $(readelf -dW "$binary" | grep -c 'BIND_NOW')" "1 1"
check "hardened: stack protector" "$(readelf -sW --dyn-syms "$binary" | grep -c '__stack_chk_fail' | awk '{print ($1 > 0) ? "yes" : "no"}')" yes
lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'root privileges' >"$work/lintian.txt" || true
echo "lintian: $(grep -c . "$work/lintian.txt" || true) tags"; cat "$work/lintian.txt"
check "lintian: no errors or warnings" "$(grep -c '^[EW]:' "$work/lintian.txt" || true)" 0
check "desktop-file-validate" "$(desktop-file-validate "$work/root/usr/share/applications/$app.desktop" 2>&1 || echo failed)" ""
check "appstreamcli validate" "$(appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.txt" 2>&1 && echo valid || cat "$work/appstream.txt")" valid

if [ "$(id -u)" -ne 0 ]; then
    echo "(installing it needs root: not run)"
    echo "debian package: $failures failed"
    [ "$failures" -eq 0 ]
    exit
fi
if dpkg-query -W zaviradio >/dev/null 2>&1; then
    echo "FAILED: zaviradio is already installed here; the test would not leave the machine as it found it"
    exit 1
fi

echo "== installed as a user does"
dpkg-query -W -f '${Package} ${Version} ${Status}\n' | sort >"$work/before"
started=$(now_ms)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { echo "FAILED: apt-get install"; cat "$work/apt.log"; exit 1; }
installed=yes
echo "figure: deb_install_ms=$(($(now_ms) - started))"
check "only the program was added" \
    "$(dpkg-query -W -f '${Package} ${Version} ${Status}\n' | sort | comm -13 "$work/before" - | paste -sd ' ')" \
    "zaviradio $version install ok installed"

serve_station "$port" "$station_dir"
mkdir "$work/home"
recording_start "$work/capture.raw"
sleep 1
started=$(now_ms)
HOME="$work/home" env -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_CONFIG_HOME -u GST_REGISTRY \
    gtk-launch "$app" </dev/null >/dev/null 2>&1
poll 20 is_viewable "$player" || true
check "started from the menu entry: the player is up" "$(is_viewable "$player" && echo yes)" yes
program_pid=$(window_pid "$player")
check "it is the installed program" "$(readlink "/proc/${program_pid:-0}/exe" 2>/dev/null)" /usr/bin/zaviradio
check "its windows' class matches StartupWMClass" \
    "$(xprop -name "$player" WM_CLASS | grep -o '"[^"]*"$' | tr -d '"')" \
    "$(sed -n 's/^StartupWMClass=//p' "$work/root/usr/share/applications/$app.desktop")"
sleep 5
check "the page was requested from the host it was built for" \
    "$(grep -c ' GET /listenlive/zaviradio.html ' "$work/requests.log")" 1
import -window root "$build_dir/installed-linux-player.png"
echo "screenshot: $build_dir/installed-linux-player.png"
click_x "$player"
poll 20 exited "${program_pid:-0}" || true
check "X ends it" "$(exited "${program_pid:-0}" && echo ended || echo running)" ended
recording_stop
hear "$work/capture.raw" 440 "$work/tone.txt"
first=$(value first_sound_ms "$work/tone.txt")
check "the station is heard at 440 Hz" "$(within_one_percent "$(value frequency_hz "$work/tone.txt")" 440)" yes
[ "$first" != none ] && echo "figure: deb_first_sound_ms=$((recording_start_ms + first - started)) (menu launch to first sound)"
sleep 2  # the web engine's processes end on their own
# What the toolkits every desktop program shares keep for themselves is not the program's:
# fontconfig's font cache, GStreamer's plugin registry (without it every launch would
# scan all plugins again) and the PulseAudio client's cookie. The station page's own
# storage and cookies are kept, as a browser keeps them, in the program's data folder; a
# plain listen writes no settings.
echo "in HOME after the run: $(cd "$work/home" && find . -mindepth 1 -type f | sort | paste -sd ' ')"
left=$(cd "$work/home" && find . -mindepth 1 -type f | grep -v -e '^\./\.cache/fontconfig/' \
    -e '^\./\.cache/gstreamer-1\.0/registry\.[a-z0-9_]*\.bin$' -e '^\./\.config/pulse/cookie$' \
    -e '^\./\.local/share/zaviradio/' |
    sort | paste -sd ' ' || true)
check "no file of its own left in HOME" "${left:-none}" none

echo "== purged"
started=$(now_ms)
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zaviradio >"$work/apt.log" 2>&1 ||
    { echo "FAILED: apt-get purge"; cat "$work/apt.log"; }
installed=
echo "figure: deb_purge_ms=$(($(now_ms) - started))"
check "no file of it is left" "$(while read -r f; do [ -e "$f" ] && echo "$f"; done <"$work/files" | paste -sd ' ')" ""
check "the same packages as before" \
    "$(dpkg-query -W -f '${Package} ${Version} ${Status}\n' | sort | diff "$work/before" - >/dev/null && echo same || echo changed)" same

echo "debian package: $failures failed"
[ "$failures" -eq 0 ]
