#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The skins' gallery: in each of the six stored skins, the main window with a result and its skin menu open,
# the city dialog with its province list open, the About dialog, and the warning and information boxes.
# Shots go to build/gallery; the main windows, reduced to 256 colours, to docs/screenshots/skin1.png ..
# skin6.png for the README, and the rest to the given folder (default docs/screenshots/skins).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshots/skins}"
raw=build/gallery
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target shoot_skins
rm -rf "$raw"
scripts/with-display.sh build/tests/screenshots/shoot_skins "$raw"
mkdir -p "$out"
small() { convert "$1" -strip -colors 256 "PNG8:$2"; }
for i in 1 2 3 4 5 6; do
  small "$raw/skin$i-main.png" "docs/screenshots/skin$i.png"
  for shot in menu city city-list about warning info; do
    small "$raw/skin$i-$shot.png" "$out/skin$i-$shot.png"
  done
done
