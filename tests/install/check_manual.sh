#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# The manual page, as man shows it, lists every option the program's --help lists, each with
# its argument.
#   check_manual.sh PROGRAM PAGE
set -euo pipefail
program=$1 page=$2

# An option's head: "--export FILE", "-h, --help"; its description follows two blanks on.
mapfile -t heads < <("$program" --help | sed -nE 's/^ +(-[a-z], )?(--[a-z]+( [^ ]+)?)( {2,}.*)?$/\1\2/p')
((${#heads[@]} > 0)) || { echo "FAIL: no option found in --help" >&2; exit 1; }
shown=$(MANWIDTH=200 man --warnings -l -P cat "$page" | sed -E 's/^ +//; s/ +$//')
missing=0
for head in "${heads[@]}"; do
    grep -qxF -- "$head" <<<"$shown" || { echo "FAIL: the manual page lacks $head" >&2; missing=1; }
done
((missing == 0)) || exit 1
echo "the manual page lists all ${#heads[@]} options of --help"
