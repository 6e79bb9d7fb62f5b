#!/usr/bin/env bash
# Start-up time of the program under Wine: from process start until the main window is on
# the screen, with the shipped database and with a generated one of 1,000,000 records, beside
# two yardsticks built with the project, in the same run: a trivial Win32 program that only
# opens a window, and the program's start-up made of nothing but its windows (its libraries,
# its manifest, the hidden application window, the splash, the main window and its windowed
# children). Prints figures; judges nothing. Run after a build (scripts/test or scripts/run).
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win32/program
[ -f "$program/slumra.exe" ] || { echo "build the program first (scripts/test)" >&2; exit 1; }
runs=${RUNS:-5}
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
# Starts `exe` in `folder` once and prints the milliseconds until a window titled `title` is
# viewable (nothing when it never is).
time_once() {
    local folder=$1 exe=$2 title=$3 start shown="" pid
    start=$(now_ms)
    (cd "$folder" && exec wine "$exe" >/dev/null 2>&1) &
    pid=$!
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
    if [ -n "$shown" ]; then echo $((shown - start)); fi
}
sorted() { printf '%s\n' "$@" | sort -n | tr '\n' ' '; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'; }

# The trivial program and the shipped data take turns, so that both meet the same machine.
trivial_times=() skeleton_times=() shipped_times=() generated_times=()
for _ in $(seq 1 "$runs"); do
    [ -f build/win32/trivial_window.exe ] &&
        trivial_times+=($(time_once "$PWD/build/win32" trivial_window.exe "Trivial window"))
    [ -f build/win32/window_skeleton.exe ] &&
        skeleton_times+=($(time_once "$PWD/build/win32" window_skeleton.exe "Skeleton window"))
    shipped_times+=($(time_once "$work/shipped" slumra.exe "Slumra 2.2 release 2"))
done
for _ in $(seq 1 "$runs"); do
    generated_times+=($(time_once "$work/generated" slumra.exe "Slumra 2.2 release 2"))
done
counts() { build/native/tools/data/slumra-data index --count "$work/$1/D/iDbRecs.dat" 2>/dev/null | tr '\n' ' '; }
echo "startup (trivial Win32 program): $(sorted "${trivial_times[@]}")ms"
echo "startup (the program's windows only): $(sorted "${skeleton_times[@]}")ms"
echo "startup (shipped database; $(counts shipped)): $(sorted "${shipped_times[@]}")ms (runs, sorted; process start to main window shown)"
echo "startup (generated database; $(counts generated)): $(sorted "${generated_times[@]}")ms"
if [ ${#trivial_times[@]} -gt 0 ] && [ ${#shipped_times[@]} -gt 0 ]; then
    t=$(median "${trivial_times[@]}") s=$(median "${shipped_times[@]}") k=$(median "${skeleton_times[@]}")
    ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
    echo "startup medians: trivial ${t} ms, windows only ${k} ms ($(ratio "$k" "$t")x), shipped ${s} ms ($(ratio "$s" "$t")x), generated $(median "${generated_times[@]}") ms"
fi
