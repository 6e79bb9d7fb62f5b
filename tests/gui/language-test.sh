#!/usr/bin/env bash
# Starts the program with /lang:44 and with /lang:49 as a user would, opens the diary dialog and
# a diary with the mouse, and reads the captions of the main window, the diary dialog and the
# diary panel back from the screen (OCR; a wrong letter or two is allowed for).
#
#   language-test.sh PROGRAM_DIR
#
# Runs in the project's Wine prefix (scripts/wine-env), on the display there is or a virtual one.
set -uo pipefail

program_dir=${1:?usage: language-test.sh PROGRAM_DIR}
fail() {
    echo "language: FAILED: $*" >&2
    exit 1
}
[ -f "$program_dir/slumra.exe" ] || fail "no program in $program_dir"
[ -f "$program_dir/D/UI.LNG" ] || fail "no language file in $program_dir/D"
for tool in xdotool import convert tesseract xdpyinfo; do
    command -v $tool >/dev/null || fail "$tool is missing"
done

# shellcheck source=SCRIPTDIR/../../scripts/wine-env
source "$(dirname "$0")/../../scripts/wine-env"
display_start || fail "no display"
trap 'display_stop' EXIT
wine_start

work=$(mktemp -d)
diary="$program_dir/User/Taaltest.ddf"
mkdir -p "$program_dir/User"
: >"$diary"
trap 'display_stop; rm -rf "$work"; rm -f "$diary"' EXIT

# The screen and the design the program chooses for it, as its start-up does.
read -r W H < <(xdpyinfo -display "$DISPLAY" | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
if [ $((W * 480)) -ge $((H * 640)) ]; then
    if [ "$H" -lt 768 ]; then s=100; elif [ "$H" -lt 864 ]; then s=125; else s=160; fi
else
    if [ "$W" -lt 1024 ]; then s=100; elif [ "$W" -lt 1152 ]; then s=125; else s=160; fi
fi
# A point of the 640 × 480 design on the screen: the layout panel is centred.
at() { echo $(((W - 640 * s / 100) / 2 + $1 * s / 100)) $(((H - 480 * s / 100) / 2 + $2 * s / 100)); }
# A point of the diary dialog (392 × 223, centred).
in_dialog() { echo $(((W - 392 * s / 100) / 2 + $1 * s / 100)) $(((H - 223 * s / 100) / 2 + $2 * s / 100)); }
click() { xdotool mousemove --sync $1 $2 click 1; }

# What the screen shows, as text.
screen_text() {
    import -window root -display "$DISPLAY" "$work/shot.png" &&
        convert "$work/shot.png" -resize 300% -colorspace Gray -negate "$work/ocr.png" &&
        tesseract "$work/ocr.png" - -l eng 2>/dev/null
}

# Every expected caption must be read; OCR may get one letter wrong or split a word, so each is
# matched without spaces and with one letter free.
expect() {  # WHERE TEXT...
    local where=$1 text
    shift
    text=$(screen_text | tr -d ' \n')
    for caption in "$@"; do
        local found=0 i
        caption=${caption// /}
        for ((i = 0; i < ${#caption}; i++)); do
            if grep -qi -- "${caption:0:i}.${caption:i+1}" <<<"$text"; then
                found=1
                break
            fi
        done
        [ $found = 1 ] || fail "$where: \"$caption\" is not on the screen; it shows: $text"
    done
}

run_language() {  # CODE, then the expected captions by place, "|" between places
    local code=$1
    (cd "$program_dir" && exec wine slumra.exe "/lang:$code" </dev/null >/dev/null 2>&1) &
    local running=$!
    sleep 8
    IFS='|' read -r main dialog panel <<<"$2"
    eval "expect \"/lang:$code main window\" $main"
    click $(at 101 435)  # the diary button
    sleep 3
    click $(in_dialog 40 42)  # the first diary
    sleep 1
    eval "expect \"/lang:$code diary dialog\" $dialog"
    click $(in_dialog 320 205)  # open it
    sleep 4
    eval "expect \"/lang:$code diary panel\" $panel"
    click $(at 620 12)  # quit
    for _ in $(seq 1 30); do kill -0 $running 2>/dev/null || break; sleep 0.5; done
    kill -0 $running 2>/dev/null && fail "/lang:$code: the program did not end"
}

start=$SECONDS
run_language 44 '"Contents" "Search by index" "Open Dream Diary" "Clipboard"|"Open the dream diary of" "Add name" "Cancel"|"Dream diary of" "Dream description" "My own explanation" "Close Dream Diary" "Add new dream"'
run_language 49 '"Inhalt" "Suche im Index" "Traumtagebuch"|"Name hinzuf" "Abbrechen"|"Traumtagebuch von" "Traumbeschreibung" "Meine eigene Deutung" "Neuen Traum hinzuf"'
echo "language: ok ($((SECONDS - start)) s)"
