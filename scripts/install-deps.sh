#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Velmora needs to build, test and run, skipping those already present.
# Needs root, or sudo for a normal user.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev
  libsqlcipher-dev sqlcipher
  libcsv-dev libzip-dev
  libicu-dev  # station matching: traditional/simplified folding and pinyin
  fonts-wqy-microhei fonts-arphic-uming
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps imagemagick
  python3 libx11-6  # tests/rightclick_check.sh closes windows through Xlib
  clang libclang-rt-14-dev
  clang-format-14  # pinned: scripts/format.sh calls this version by name
  file librsvg2-bin lintian desktop-file-utils appstream
  graphviz  # scripts/layers-diagram.sh draws docs/layers.svg from docs/layers.dot
  # desktop tests: a real X11 window manager, a headless Wayland compositor and Qt's Wayland backend, and the
  # accessibility bus with its Python bindings for reading the AT-SPI tree
  openbox weston qt6-wayland at-spi2-core dbus-x11 python3-pyatspi
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: missing packages (${missing[*]}) and not root; run as root or install sudo" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
