#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds the program (only the program: the tests and benchmarks wait
# for scripts/test.sh) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target curve_program
exec build/default/app/curve "$@"
