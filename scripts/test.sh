#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, configures, builds and runs every test.
#   scripts/test.sh            regular build in build/
#   scripts/test.sh --sanitize AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

dir=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF)
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"  # window tests turn leaks off, see tests/CMakeLists.txt
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
fi
cmake -S . -B "$dir" -G Ninja "${opts[@]}"
cmake --build "$dir" -j "$(nproc)"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
