#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Velmora's Debian packages, velmora and velmora-web (the About page's module), from the install rules
# (packaging/) in build-pkg/, without tests or benchmarks.
#   scripts/package.sh [-DVARIABLE=value ...]    e.g. -DVELMORA_SITE_BASE=https://bus.example.org
# Prints the paths of the packages: install them with
#   sudo apt install ./build-pkg/velmora_<version>_<arch>.deb ./build-pkg/velmora-web_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

dir=build-pkg
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF "$@"
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/velmora_*.deb "$dir"/velmora-web_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
for deb in "$dir"/velmora_*.deb "$dir"/velmora-web_*.deb; do
    [ ! -e "$deb" ] || echo "package: $deb"
done
