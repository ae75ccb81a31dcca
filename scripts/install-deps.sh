#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian 12 packages the program and its tests need, only when something is missing;
# for an ordinary user apt-get runs through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libfontconfig-dev
    fonts-liberation fonts-dejavu-core
    xvfb openbox xdotool imagemagick x11-utils xclip libxcb1-dev pkgconf
    gnuplot-nox poppler-utils librsvg2-bin desktop-file-utils appstream dpkg-dev file
    python3 python3-pyatspi at-spi2-core dbus git
    # Registering the exercise file type and opening a file as a desktop would; without a
    # desktop environment xdg-mime needs libfile-mimeinfo-perl to read the MIME database.
    shared-mime-info xdg-utils libfile-mimeinfo-perl
    # The package and the tree as a distribution checks them, and the manual page made from
    # the program's own help, with help2man's Italian headings from a locale built out of
    # locales' sources; man-db shows it.
    lintian reuse help2man locales man-db
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

((${#missing[@]})) || exit 0

as_root=()
if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
        echo "These packages are missing: ${missing[*]}" >&2
        echo "Install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
    echo "Installing through sudo, which may ask for your password: ${missing[*]}"
else
    echo "Installing: ${missing[*]}"
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
