#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: packages already present are skipped. With --screenshots
# it also installs what scripts/screenshots.sh needs.
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
    chromium chromium-driver python3-selenium
    dbus at-spi2-core python3-gi python3-pyatspi
    # The screen reader test: Orca speaking Russian through espeak-ng, a window manager.
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox locales
)
# scripts/screenshots.sh also needs xwininfo and xprop and ImageMagick (the window
# manager and the Russian locale's source are in the list above).
if [[ ${1:-} == --screenshots ]]; then
    packages+=(x11-utils imagemagick)
fi
# npm brings axe-core for the crossword page's accessibility test.
if ! command -v npm >/dev/null; then
    packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Russian settings, as a pupil's machine has them.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
    echo "Generating the locale ru_RU.UTF-8"
    "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi

# axe-core, where tests/export/html/CMakeLists.txt looks for it (build/ is not tracked).
axe_version=4.14.1
npm_dir="$(cd "$(dirname "$0")/.." && pwd)/build/npm"
if ! grep -qs "\"version\": \"$axe_version\"" "$npm_dir/node_modules/axe-core/package.json"; then
    echo "Installing: axe-core@$axe_version"
    npm install --prefix "$npm_dir" --no-save --no-package-lock --no-audit --no-fund \
        "axe-core@$axe_version"
fi
