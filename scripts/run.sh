#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, puts the demo database in the program's working folder and starts Velmora.
#   scripts/run.sh        needs an X display
# The working folder is build/run/. The demo tolvi.dbf (made by the build as build/tolvi.dbf) is copied there
# only when the folder has none yet, so the city chosen in the program survives the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

run_dir=build/run
mkdir -p "$run_dir"
if [ ! -f "$run_dir/tolvi.dbf" ]; then
  if [ -f build/tolvi.dbf ]; then
    cp build/tolvi.dbf "$run_dir/tolvi.dbf"
  else
    echo "run: the demo database build/tolvi.dbf was not made by the build, and $run_dir/ has no tolvi.dbf." >&2
    echo "run: put a tolvi.dbf into $run_dir/ (see \"The database\" in README.md) and run this again." >&2
    exit 1
  fi
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; start it from a desktop session (or: xvfb-run -a scripts/run.sh)" >&2
  exit 1
fi
cd "$run_dir"
exec ../velmora
