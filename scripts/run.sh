#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
# The help file is built beside the program, where "Справка" finds it.
cmake --build --preset default --target kvarcella helpfile
exec build/default/src/shell/kvarcella
