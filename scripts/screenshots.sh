#!/usr/bin/env bash
# Makes the pictures in docs/images/ again from the real programs: the two windows
# on a private Xvfb, the pupils' page in headless Chromium, the worksheet through
# pdftoppm. Run it after a change that shows, and commit the pictures with it.
#
#   bash scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --screenshots
cmake --preset default >/dev/null
cmake --build --preset default --target kvarcella kvarcella-tool
# Debian's Python, which has Debian's Selenium.
exec /usr/bin/python3 scripts/screenshots.py "$@"
