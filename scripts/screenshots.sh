#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the main window (start-up, a station query, a station-to-station query, a transfer plan) into docs/screenshots/.
#   scripts/screenshots.sh [database file]    default: build/tolvi.dbf when it exists, else a small sample city
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target shoot_mainwindow
db="${1:-}"
if [ -z "$db" ] && [ -f build/tolvi.dbf ]; then db=build/tolvi.dbf; fi
[ -n "$db" ] && db="$(realpath "$db")"
scripts/with-display.sh build/tests/screenshots/shoot_mainwindow docs/screenshots ${db:+"$db"}
