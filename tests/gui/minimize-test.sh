#!/usr/bin/env bash
# "-" in the title row leaves no window of the program on screen, as the X server sees it; a
# second start brings the full-screen window back.
#
#   minimize-test.sh PROGRAM_DIR
set -uo pipefail
program_dir=${1:?usage: minimize-test.sh PROGRAM_DIR}
fail() {
    echo "minimize: FAILED: $*" >&2
    exit 1
}
for tool in xdotool xwininfo xdpyinfo; do command -v $tool >/dev/null || fail "$tool is missing"; done
# shellcheck source=SCRIPTDIR/../../scripts/wine-env
source "$(dirname "$0")/../../scripts/wine-env"
# The display the other tests use (Wine's desktop keeps the size of the display it first met).
display_start || fail "no display"
started=""
trap '[ -n "$started" ] && kill "$started" 2>/dev/null; display_stop' EXIT
wine_start

# The ids of the program's windows that the X server shows, larger than the small bar a
# minimized program leaves where no window manager runs (Wine's stand-in for a task bar button).
viewable() {
    xwininfo -root -children -display "$DISPLAY" |
        awk '/"slumra.exe"/ { split($(NF-1), g, /[x+]/); if (g[1] * g[2] > 8000) print $1 }' |
        while read -r id; do
            xwininfo -id "$id" -display "$DISPLAY" | grep -q "IsViewable" && echo "$id"
        done
}
wait_for() {  # CONDITION: "shown" or "hidden"
    for _ in $(seq 1 100); do
        n=$(viewable | wc -l)
        if [ "$1" = shown ] && [ "$n" -gt 0 ]; then return 0; fi
        if [ "$1" = hidden ] && [ "$n" -eq 0 ]; then return 0; fi
        sleep 0.1
    done
    return 1
}

(cd "$program_dir" && exec wine slumra.exe </dev/null >/dev/null 2>&1) &
started=$!
wait_for shown || fail "the program did not show"
# The "-" button, (591, 3) × 18 at the 640 × 480 design, on this screen's design, centred.
read -r W H < <(xdpyinfo -display "$DISPLAY" | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
if [ $((W * 480)) -ge $((H * 640)) ]; then
    if [ "$H" -lt 768 ]; then s=100; elif [ "$H" -lt 864 ]; then s=125; else s=160; fi
else
    if [ "$W" -lt 1024 ]; then s=100; elif [ "$W" -lt 1152 ]; then s=125; else s=160; fi
fi
x=$(((W - 640 * s / 100) / 2 + 600 * s / 100))
y=$(((H - 480 * s / 100) / 2 + 12 * s / 100))
# A click while the window is still starting up is lost: try again a while.
hidden=0
for _ in 1 2 3 4 5 6; do
    sleep 2
    xdotool mousemove --sync "$x" "$y" click 1
    if wait_for hidden; then hidden=1; break; fi
done
[ $hidden = 1 ] || fail "after \"-\" these windows are still on screen: $(viewable | tr '\n' ' ')"
(cd "$program_dir" && wine slumra.exe </dev/null >/dev/null 2>&1)
wait_for shown || fail "a second start did not bring the program back"
echo "minimize: ok"
