#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those still missing.
set -euo pipefail

packages=(cmake g++ make pkg-config googletest libgtest-dev
          # the public suffix list, read when the station's host is built in
          publicsuffix
          # the Windows build, run under Wine
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 icoutils python3-pefile
          # the Linux build: GTK 3, WebKitGTK and the sound of its pages
          libgtk-3-dev libwebkit2gtk-4.1-dev libwebkit2gtk-4.1-0
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
          # what real stations send: AAC and AAC+ (faad) and HLS, both in plugins-bad; a
          # font for pages in Nepali
          gstreamer1.0-plugins-bad fonts-lohit-deva-nepali
          # the sample station's stream, and a sound server to hear it in the tests
          gstreamer1.0-tools pulseaudio pulseaudio-utils
          # real broadcast software for the station tests, and eyes to read Nepali back
          icecast2 ffmpeg tesseract-ocr tesseract-ocr-nep
          # the packages: CPack's DEB with its dependency list, NSIS, and their checkers;
          # gtk-launch starts the installed program as a menu does
          dpkg-dev nsis lintian desktop-file-utils appstream libgtk-3-bin file
          # a desktop to run and test both on, with a session bus as a login has, and the
          # media controls' own command to drive the program with
          xvfb openbox trayer x11-utils x11-xserver-utils xdotool imagemagick fonts-liberation
          dbus libglib2.0-bin playerctl
          # the tray menu's translations; a real StatusNotifierItem panel (Xfce's), a
          # watcher without a host, and the Nepali locale the tray test makes
          gettext xfce4-panel haskell-status-notifier-item-utils locales
          # where a program that should have ended stands, for the tests' logs
          gdb
          # the page script read as ES5, as Internet Explorer 11's engine reads it
          node-acorn
          # tests side by side, each on a loopback of its own
          iproute2 util-linux
          # two monitors that GDK sees as such, for the desktops test
          xserver-xorg-core xserver-xorg-video-dummy
          # what a screen reader sees of it, read over AT-SPI
          at-spi2-core gir1.2-atspi-2.0 python3-gi
          # a Wayland desktop with Xwayland, and its screenshots
          sway xwayland grim)
# The station pages' player libraries come from the npm registry (tests/harness/stations/pages).
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# The player libraries the test stations' pages are built with, as their lock file has them.
pages="$(cd "$(dirname "$0")/.." && pwd)/tests/harness/stations/pages"
if ! cmp -s "$pages/package-lock.json" "$pages/node_modules/.installed-lock.json" 2>/dev/null; then
    (cd "$pages" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error >/dev/null &&
        cp package-lock.json node_modules/.installed-lock.json)
fi
