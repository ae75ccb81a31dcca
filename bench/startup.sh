#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints how long the program takes from its start until the instructions window is on the
# screen (exposed, as the X server reports it) and until it is painted, and its resident memory
# then, over several runs under a private Xvfb + openbox, interleaved with as many starts of a
# bare Qt program that shows one maximized empty window "Form1" (bench_bare_start): the ratios
# of the medians are the program's cost over what any Qt program pays on this machine. Run it
# as `chrt -f 10 bench/startup.sh` (as root) to keep other work on the machine out of the figures.
# Usage: bench/startup.sh [path/to/curve] [runs] [build folder holding bench/]
set -euo pipefail
program=${1:-build/default/app/curve}
runs=${2:-11}
build=${3:-$(dirname "$(dirname "$program")")}
display=:${BENCH_DISPLAY:-91}

Xvfb "$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# Starts $1 and prints the milliseconds until its window "Form1" is exposed and painted, and its
# resident memory (KiB) once it has painted.
start_once() {
    local exposed painted pid kib timer
    exec 3< <(DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
        "$build/bench/bench_start_timer" Form1 "$1" 2>/dev/null)
    timer=$!
    read -r exposed painted pid <&3
    kib=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    kill $pid
    wait $timer || true
    exec 3<&-
    echo "${exposed%.*} ${painted%.*} $kib"
}

exposed=() painted=() rss=() bare_exposed=() bare_painted=()
for ((i = 0; i < runs; i++)); do
    read -r e p kib < <(start_once "$program")
    exposed+=("$e") painted+=("$p") rss+=("$kib")
    read -r e p kib < <(start_once "$build/bench/bench_bare_start")
    bare_exposed+=("$e") bare_painted+=("$p")
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
report() { # what, then the program's times and the bare program's, $runs of each
    local what=$1 times=("${@:2:runs}") bare=("${@:runs+2:runs}") m b
    m=$(median "${times[@]}") b=$(median "${bare[@]}")
    echo "start to Form1 $what: median $m ms over $runs runs (${times[*]})"
    echo "  bare Qt window, interleaved: median $b ms (${bare[*]}); ratio $(ratio "$m" "$b")"
}
report exposed "${exposed[@]}" "${bare_exposed[@]}"
report painted "${painted[@]}" "${bare_painted[@]}"
echo "resident memory after start: median $(median "${rss[@]}") KiB"
