#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, only those missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config dpkg-dev ccache
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libjpeg-dev
    libhunspell-dev hunspell-pt-br
    fonts-dejavu-core fonts-liberation2 fonts-wine
    xvfb xauth xdotool x11-xkb-utils
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
