#!/usr/bin/env bash
# Prints how long the program takes from its start until the instructions window is on the
# screen, and its resident memory then, over several runs under a private Xvfb + openbox.
# Usage: bench/startup.sh [path/to/curve] [runs]
set -euo pipefail
program=${1:-build/default/app/curve}
runs=${2:-11}
display=:${BENCH_DISPLAY:-91}

Xvfb "$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

times=() rss=()
for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$program" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -name Form1 2>/dev/null | grep -q 'Map State: IsViewable'; do :; done
    end=$(date +%s%N)
    sleep 0.3 # let it paint before reading its memory
    times+=($(((end - start) / 1000000)))
    rss+=($(awk '/VmRSS/ {print $2}' /proc/$pid/status))
    kill $pid
    wait $pid 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
echo "start to Form1 on screen: median $(median "${times[@]}") ms over $runs runs (${times[*]})"
echo "resident memory after start: median $(median "${rss[@]}") KiB"
