#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qtbase5-dev qtbase5-dev-tools libqt5svg5-dev
    qtwebengine5-dev libqt5webenginecore5 libqt5webengine5
    xvfb xauth fonts-dejavu-core
    zbar-tools zxing-cpp-tools libqrencode-dev
    poppler-utils libgumbo-dev zlib1g-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
