#!/usr/bin/env bash
# The Windows installer, installed as a user does, under Wine in a fresh prefix: the x64
# twin of the release installer (the i686 one cannot run here) installs silently over an
# older version, leaving one; its files, Start Menu shortcut and every Add/Remove Programs
# value are there; the program started from the shortcut shows its windows and requests
# the page from the host it was built for; "X" ends it with 0; the silent uninstall leaves
# no file, shortcut or entry. Both installers must exist. Prints sizes and times.
#   installer_e2e.sh PACKAGES_DIR PROBE.exe BUILD_DIR STATION_DIR PORT
set -euo pipefail
packages=$(realpath "$1") probe=$(realpath "$2") build_dir=$(realpath "$3") station_dir=$4 port=$5
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../harness/harness.sh"
version=$(sed -n 's/^project(ZaviRadio VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
setup="$packages/zaviradio-$version-setup-x64.exe"
harness_begin installer "$build_dir" desktop
for file in "$packages/zaviradio-$version-setup.exe" "$setup"; do
    [ -f "$file" ] || { echo "FAILED: $file is missing (bash scripts/package.sh builds it)"; exit 1; }
    echo "figure: installer_size[$(basename "$file")]=$(($(stat -c %s "$file") / 1024)) KiB"
    # Its own version record and the program's icon, as Windows' file properties show them.
    /usr/bin/python3 "$here/installer_record.py" "$file" >"$work/record"
    check "$(basename "$file"): its version record" \
        "$(sed -n 's/^\(version\|product\|company\)=//p' "$work/record" | paste -sd '|')" \
        "$version|Zavi Radio|Velostan"
    check "$(basename "$file"): the program's eleven icon images" "$(sed -n 's/^icons=//p' "$work/record")" 11
done

export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko offers, and Wine's menu builder kept out of $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
on_exit 'wineserver -k'
"$WINE64" wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "FAILED: no Wine prefix"; exit 1; }

folder="$WINEPREFIX/drive_c/Program Files/Zavi Radio"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zavi Radio.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VLZaviRadio'
exe=$(basename "$(ls "$build_dir"/zaviradio[0-9]*.exe)")
reg_value() {  # reg_value NAME: the entry's value, as reg prints it
    "$WINE64" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v n="$1" '$1 == n {$1 = ""; $2 = ""; sub(/^ +/, ""); print}'
}
install() {  # install SETUP: silently, waiting for it; prints the time taken
    local started
    started=$(now_ms)
    "$WINE64" "$1" /S
    wineserver -w
    echo $(($(now_ms) - started))
}

echo "== an older version first, then this one over it"
# The same program under an older version's name and number, from the same script.
makensis -V1 -DARCH=x64 -DVERSION=10.1.0.28 -DEXE=zaviradio10.01.28.exe \
    -DEXE_PATH="$build_dir/$exe" -DICON="$here/../../resources/ZaviRadio.ico" \
    -DOUTFILE="$work/older-setup-x64.exe" "$here/../../packaging/windows/zaviradio.nsi"
install "$work/older-setup-x64.exe" >/dev/null
check "the older version is installed" "$(ls "$folder" | paste -sd ' ')" "uninstall.exe zaviradio10.01.28.exe"
echo "figure: install_ms=$(install "$setup") (silent install over the older version)"
check "one version is left" "$(ls "$folder" | paste -sd ' ')" "uninstall.exe $exe"
check "the Start Menu shortcut" "$([ -f "$shortcut" ] && echo there)" there
check "DisplayName" "$(reg_value DisplayName)" "Zavi Radio"
check "DisplayVersion" "$(reg_value DisplayVersion)" "$version"
check "Publisher" "$(reg_value Publisher)" "Velostan"
check "DisplayIcon" "$(reg_value DisplayIcon)" "C:\\Program Files\\Zavi Radio\\$exe,0"
check "InstallLocation" "$(reg_value InstallLocation)" "C:\\Program Files\\Zavi Radio"
check "UninstallString" "$(reg_value UninstallString)" "\"C:\\Program Files\\Zavi Radio\\uninstall.exe\""
check "QuietUninstallString" "$(reg_value QuietUninstallString)" "\"C:\\Program Files\\Zavi Radio\\uninstall.exe\" /S"
check "NoModify" "$(reg_value NoModify)" 0x1
check "NoRepair" "$(reg_value NoRepair)" 0x1
size=$(reg_value EstimatedSize)
check "EstimatedSize, in KiB, near the files'" \
    "$(awk -v s="$((size))" -v f="$(du -sk "$folder" | cut -f1)" 'BEGIN {print (s > 0 && s <= f + 64 && s >= f / 2) ? "yes" : s " for " f}')" yes

echo "== started from its shortcut"
serve_station "$port" "$station_dir"
"$WINE64" "$probe" wait "$splash" 30000 >"$work/splash.txt" 2>/dev/null &
"$WINE64" "$probe" wait "$player" 30000 >"$work/player.txt" 2>/dev/null &
poll 30 has_line "$work/splash.txt" "ready=1" && poll 30 has_line "$work/player.txt" "ready=1" ||
    { echo "FAILED: probes did not start"; exit 1; }
"$WINE64" start /wait 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Zavi Radio.lnk' &
launcher=$!
poll 40 has_line "$work/player.txt" "^flags=\|^found=0" || true
check "the start-up window appeared" "$(value found "$work/splash.txt")" 1
check "the player appeared" "$(value found "$work/player.txt")" 1
poll 10 has_line "$work/requests.log" " GET " || true
check "the page was requested from the host it was built for" \
    "$(grep -c ' GET /listenlive/zaviradio.html ' "$work/requests.log")" 1
import -window root "$build_dir/installed-player.png"
echo "screenshot: $build_dir/installed-player.png"
"$WINE64" "$probe" click "$player" X >/dev/null 2>&1 || true
wait_for_exit "$launcher"
check "X ends it with code 0" "$code" 0

echo "== uninstalled silently"
# The listener had chosen "Start at login".
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
"$WINE64" reg add "$run_key" /v "Zavi Radio" /d '"C:\Program Files\Zavi Radio\zaviradio10.01.29.exe"' /f >/dev/null 2>&1
started=$(now_ms)
"$WINE64" "C:\\Program Files\\Zavi Radio\\uninstall.exe" /S
wineserver -w  # the uninstaller copies itself away and returns at once
# Its copy deletes the files: on a new prefix seen to finish just after the wait.
emptied() { [ ! -e "$folder" ] || [ -z "$(ls -A "$folder")" ]; }
poll 10 emptied || true
echo "figure: uninstall_ms=$(($(now_ms) - started))"
check "no file is left" "$([ -e "$folder" ] && ls -A "$folder" | paste -sd ' ' || echo none)" none
check "no shortcut is left" "$([ -e "$shortcut" ] && echo there || echo none)" none
check "no Add/Remove Programs entry is left" "$("$WINE64" reg query "$key" >/dev/null 2>&1 && echo there || echo none)" none
check "no start at login is left" "$("$WINE64" reg query "$run_key" /v "Zavi Radio" >/dev/null 2>&1 && echo there || echo none)" none

echo "installer: $failures failed"
[ "$failures" -eq 0 ]
