#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those still missing.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 xvfb openbox trayer x11-utils imagemagick icoutils python3-pefile
          fonts-liberation)

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
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
        "${missing[@]}" >/dev/null
fi
