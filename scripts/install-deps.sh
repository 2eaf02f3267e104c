#!/usr/bin/env bash
# Installs everything the editor and its tests need on Debian 12. Runs as root,
# or through sudo for a user who has it.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

packages=(
    build-essential cmake ninja-build pkg-config git ca-certificates
    juce-modules-source
    libhidapi-dev
    libcurl4-openssl-dev zlib1g-dev libpng-dev libjpeg-dev libfreetype-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxrender-dev libxcomposite-dev
    fonts-dejavu-core fonts-dejavu-extra
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth x11-utils xdotool imagemagick
    sox unzip
    desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
