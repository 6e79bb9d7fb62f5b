#!/usr/bin/env bash
# Start-up time of the program under Wine: from process start until the main window is on
# the screen, with the shipped database and with a generated one of 1,000,000 records, beside
# a trivial Win32 program that only opens a window (built with the project), in the same run.
# Prints figures; judges nothing. Run after a build (scripts/test or scripts/run).
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win32/program
[ -f "$program/slumra.exe" ] || { echo "build the program first (scripts/test)" >&2; exit 1; }
runs=${RUNS:-3}
work=$PWD/build/bench-startup
rm -rf "$work" && mkdir -p "$work"

# Two program folders that differ only in their database.
for kind in shipped generated; do
    mkdir -p "$work/$kind/D"
    for part in slumra.exe I V a Fonts; do ln -s "$PWD/$program/$part" "$work/$kind/$part"; done
done
cp "$program/D/iDbRecs.dat" "$program/D/Syn.dat" "$work/shipped/D/"
build/native/tools/data/slumra-data generate ${RECORDS:-1000000} "$work/generated/D/iDbRecs.dat"
cp "$program/D/Syn.dat" "$work/generated/D/"

unset DISPLAY
export SLUMRA_SCREEN=1024x768x24
source scripts/wine-env
display_start
wine_start
trap 'wine_stop; display_stop' EXIT

now_ms() { date +%s%3N; }
# Starts `exe` in `folder` RUNS times and prints the times until a window titled `title` is viewable.
time_start() {
    local folder=$1 exe=$2 title=$3 times=() start shown pid
    for _ in $(seq 1 "$runs"); do
        start=$(now_ms)
        (cd "$folder" && exec wine "$exe" >/dev/null 2>&1) &
        pid=$!
        shown=""
        for _ in $(seq 1 3000); do
            if xwininfo -name "$title" -display "$DISPLAY" 2>/dev/null | grep -q IsViewable; then
                shown=$(now_ms)
                break
            fi
            sleep 0.01
        done
        # Only the program this run started: under Wine the started process is the program itself.
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        [ -n "$shown" ] && times+=($((shown - start)))
    done
    printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' '
}

trivial=build/win32/trivial_window.exe
if [ -f "$trivial" ]; then
    echo "startup (trivial Win32 program): $(time_start "$PWD/build/win32" trivial_window.exe "Trivial window")ms"
fi
for kind in shipped generated; do
    sorted=$(time_start "$work/$kind" slumra.exe "Slumra 2.2 release 2")
    records=$(build/native/tools/data/slumra-data index --count "$work/$kind/D/iDbRecs.dat" 2>/dev/null | tr '\n' ' ')
    echo "startup ($kind database; outline lines and index items: $records): ${sorted}ms (runs, sorted; process start to main window shown)"
done
