#!/usr/bin/env bash
# Prints how long the program takes from its start until the instructions window is on the
# screen, and its resident memory then, over several runs under a private Xvfb + openbox,
# interleaved with the same number of starts of a bare Qt program that shows one maximized
# empty window "Form1" (bench_bare_start): the ratio of the medians is the program's cost over
# what any Qt program pays on this machine.
# Usage: bench/startup.sh [path/to/curve] [runs] [path/to/bench_bare_start]
set -euo pipefail
program=${1:-build/default/app/curve}
runs=${2:-11}
bare=${3:-$(dirname "$(dirname "$program")")/bench/bench_bare_start}
display=:${BENCH_DISPLAY:-91}

Xvfb "$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# Starts $1, waits until a window "Form1" is viewable and prints the milliseconds that took and
# the resident memory (KiB) once it has painted.
start_once() {
    local start end pid kib
    start=$(date +%s%N)
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$1" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -name Form1 2>/dev/null | grep -q 'Map State: IsViewable'; do :; done
    end=$(date +%s%N)
    sleep 0.3
    kib=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    kill $pid
    wait $pid 2>/dev/null || true
    echo "$(((end - start) / 1000000)) $kib"
}

times=() rss=() bare_times=()
for ((i = 0; i < runs; i++)); do
    read -r ms kib < <(start_once "$program")
    times+=("$ms") rss+=("$kib")
    read -r ms kib < <(start_once "$bare")
    bare_times+=("$ms")
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
program_median=$(median "${times[@]}")
bare_median=$(median "${bare_times[@]}")
echo "start to Form1 on screen: median $program_median ms over $runs runs (${times[*]})"
echo "bare Qt window Form1, interleaved: median $bare_median ms (${bare_times[*]})"
echo "ratio: $(awk -v a="$program_median" -v b="$bare_median" 'BEGIN {printf "%.2f", a / b}')"
echo "resident memory after start: median $(median "${rss[@]}") KiB"
