#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds the program twice (plain and with the sanitizers), runs
# the whole test suite in both builds, then fuzzes the number texts and the exercise reader for a
# minute each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

passed=0
run() {
    cmake --preset "$1"
    cmake --build --preset "$1"
    local log
    log=$(mktemp)
    ctest --preset "$1" | tee "$log"
    passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\)/\1/p' "$log")))
    rm -f "$log"
}

run default
run asan
run fuzz

# ctest stops the script above at the first failure, so reaching here means none failed.
echo "all suites: $passed passed, 0 failed"
