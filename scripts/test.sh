#!/usr/bin/env bash
# Installs what is missing, builds the program twice (plain and with the sanitizers), runs
# the whole test suite in both builds, then fuzzes the number texts for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset default
cmake --build --preset default
ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz
