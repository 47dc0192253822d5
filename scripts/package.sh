#!/usr/bin/env bash
# Builds every package into build/packages/: the Debian package of the Linux build and
# the Windows installers (the i686 release and its x86_64 twin), with the release's
# station host, or with $STATION_HOST (host[:port]) when it is set.
#   [STATION_HOST=host:port] bash scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh
version=$(sed -n 's/^project(ZaviRadio VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
release_host=$(sed -n 's/^set(STATION_HOST "\([^"]*\)".*/\1/p' CMakeLists.txt)
host=${STATION_HOST:-$release_host}
out="$root/build/packages"
mkdir -p "$out"

# The build folder for a preset with this host: the preset's own when it already has the
# host (no second build), else one of the packaging's own.
build_for() {  # build_for PRESET: prints the folder, built
    local preset=$1 dir="$root/build/$1" cached=""
    [ -f "$dir/CMakeCache.txt" ] && cached=$(sed -n 's/^ZAVI_STATION_HOST:INTERNAL=//p' "$dir/CMakeCache.txt")
    if [ "$cached" != "$host" ]; then
        local preset_host
        preset_host=$(cmake --preset "$preset" -N 2>/dev/null | sed -n 's/^ *STATION_HOST="\(.*\)"$/\1/p')
        dir="$root/build/package-$preset"
        [ "${preset_host:-$release_host}" = "$host" ] && dir="$root/build/$preset"
        cmake --preset "$preset" -B "$dir" -DSTATION_HOST="$host" >/dev/null
    fi
    cmake --build "$dir" -j "$jobs" --target zaviradio >&2
    echo "$dir"
}

echo "== Debian package (station host $host)"
linux=$(build_for linux)
cmake --build "$linux" -j "$jobs" --target zavi_package_files
(cd "$linux" && cpack -G DEB >/dev/null)
cp "$linux/packages/zaviradio_${version}_amd64.deb" "$out/"

echo "== Windows installers"
for arch in x86 x64; do
    preset=win32 suffix=""
    [ "$arch" = x64 ] && preset=win64 suffix="-x64"
    dir=$(build_for "$preset")
    exe=$(ls "$dir"/zaviradio[0-9]*.exe)
    makensis -V2 -DARCH="$arch" -DVERSION="$version" -DEXE="$(basename "$exe")" \
        -DEXE_PATH="$exe" -DICON="$root/resources/ZaviRadio.ico" \
        -DOUTFILE="$out/zaviradio-${version}-setup${suffix}.exe" packaging/windows/zaviradio.nsi
done
ls -l "$out"
