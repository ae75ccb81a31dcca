#!/usr/bin/env bash
# Installs what is missing, builds the program twice (plain and with the sanitizers)
# and runs the whole test suite in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset default
cmake --build --preset default
ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
