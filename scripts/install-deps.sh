#!/usr/bin/env bash
# Installs the Debian 12 packages the program and its tests need, only when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    qt6-base-dev qt6-svg-dev libgl-dev
    fonts-liberation fonts-dejavu-core
    xvfb openbox xdotool imagemagick x11-utils xclip
    gnuplot-nox
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
