#!/bin/sh
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a test with settings of its own, in a folder made for the run and removed after it. The
# folder's path is short whatever the build's: Debian 12's fontconfig leaks memory, which
# LeakSanitizer reports, when XDG_CONFIG_HOME is longer than about 90 characters.
dir=$(mktemp -d /tmp/curve-test.XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT
XDG_CONFIG_HOME=$dir "$@"
