#!/usr/bin/env bash
# The skins' gallery: the main window (with a result), the city dialog and the About dialog in each of the six
# stored skins, into the given folder (default docs/screenshots/skins); the main windows also go to
# docs/screenshots/skin1.png .. skin6.png for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshots/skins}"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target shoot_skins
scripts/with-display.sh build/tests/shoot_skins "$out"
for i in 1 2 3 4 5 6; do cp "$out/skin$i-main.png" "docs/screenshots/skin$i.png"; done
