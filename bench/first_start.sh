#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints how long a newcomer waits from a fresh clone to "Form1" on the screen: git clone, then
# scripts/run.sh (packages already present) under a private Xvfb + openbox, with no compiler
# cache, so every file is compiled.
# Usage: bench/first_start.sh [git ref, default HEAD]
set -euo pipefail
ref=${1:-HEAD}
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
work=$(mktemp -d)
unset CMAKE_CXX_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
until [[ -s $work/display ]]; do sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do sleep 0.05; done

start=$(date +%s%N)
git clone -q "$repo" "$work/clone"
git -C "$work/clone" checkout -q "$(git -C "$repo" rev-parse "$ref")"
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$work/clone/scripts/run.sh" >"$work/run.log" 2>&1 &
pids+=($!)
xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null
end=$(date +%s%N)
echo "fresh clone of $ref to Form1 on screen: $(((end - start) / 1000000)) ms" \
    "($(grep -c '^\[' "$work/run.log") build steps; load average $(cut -d' ' -f1-3 /proc/loadavg))"
