#!/usr/bin/env bash
# End to end, by eye: the sample station's page carries Nepali beside its English, and the
# player draws it in Devanagari that can be read. tesseract's Nepali model reads the words
# back off a screenshot of the player; as a control, the same launch with the Devanagari
# font hidden from fontconfig (every letter then a box) reads none of them.
#   nepali.sh PROGRAM BUILD_DIR STATION_DIR PORT
set -euo pipefail
program=$1 build_dir=$2 station_dir=$3 port=$4
source "$(dirname "$0")/../../harness/harness.sh"
harness_begin nepali "$build_dir" desktop
# The page's Nepali: the station's name and its welcome line.
words=(जावी रेडियो स्वागत छ नेपालका तथा एफएम स्टेसनहरू सुन्नुहोस्)
serve_station "$port" "$station_dir"

# The control runs in a mount namespace of its own where the folders of every font that
# covers Nepali are empty. (fontconfig's own ways to hide a font, a FONTCONFIG_FILE or the
# user's rejectfont, do not reach the web engine's fallback: it still drew Devanagari.)
mkdir -p "$work/empty"
without_nepali_fonts() {
    local hide="" folder
    for folder in $(fc-list :lang=ne file | sed 's|: *$||' | xargs -r -n1 dirname | sort -u); do
        hide+="mount --bind '$work/empty' '$folder' && "
    done
    unshare --mount --propagation private sh -c "$hide exec \"\$@\"" sh "$@"
}

read_page() {  # read_page NAME [ENV...]: the Nepali words tesseract reads off the player
    local name=$1 left top width height
    shift
    "$@" "$program" 2>>"$work/stderr.log" &
    program_pid=$!
    poll 20 is_viewable "$player" || true
    read -r left top width height _ <<<"$(window_facts "$player")"
    poll 15 page_drawn "$left" "$top" || true
    sleep 1  # the rest of the page drawn
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$build_dir/linux-nepali-$name.png"
    echo "screenshot: $build_dir/linux-nepali-$name.png" >&2
    click_x "$player"
    wait_for_exit "$program_pid"
    program_pid=
    check "$name: X ends it with code 0" "$code" 0 >&2
    # Twice the size reads best; tesseract writes zero-width non-joiners between letters.
    convert "$build_dir/linux-nepali-$name.png" -resize 200% "$work/$name.png"
    tesseract "$work/$name.png" - -l nep 2>/dev/null | sed 's/\xe2\x80\x8c//g' >"$work/$name.txt"
    local word found=0
    for word in "${words[@]}"; do grep -qF "$word" "$work/$name.txt" && found=$((found + 1)); done
    echo "$found"
}

echo "== the page as it is drawn"
found=$(read_page nepali)
echo "read: $(tr '\n' ' ' <"$work/nepali.txt")"
check "tesseract reads the page's Nepali words (of ${#words[@]})" "$found" "${#words[@]}"

if [ "$(id -u)" -eq 0 ]; then
    echo "== the same without a Devanagari font (the control)"
    found=$(read_page no-devanagari-font without_nepali_fonts)
    check "without the font it reads none of them" "$found" 0
else
    echo "(the control without a Devanagari font needs root for its mount namespace: not run)"
fi

echo "end-to-end nepali: $failures failed"
[ "$failures" -eq 0 ]
