#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-liberation
    xvfb xauth xdotool
    qt6-translations-l10n
    fp-utils libchm-bin
    desktop-file-utils appstream shared-mime-info libglib2.0-bin
    dpkg-dev lintian file xchm xdg-utils
    poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
