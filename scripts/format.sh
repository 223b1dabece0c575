#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every tracked C++ file with the repository's .clang-format, or with --check only reports the files
# that differ (exit status 1 then). The version is pinned: another clang-format version lays out the same
# style differently, so CI and every developer use the one scripts/install-deps.sh installs.
#   scripts/format.sh           rewrite files in place (also the CMake target `format`)
#   scripts/format.sh --check   change nothing; CI runs this before the build
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=clang-format-14

if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
  echo "format: $CLANG_FORMAT is missing; scripts/install-deps.sh installs it" >&2
  exit 1
fi
mode=(-i)
if [ "${1:-}" = "--check" ]; then mode=(--dry-run -Werror); fi
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 -r "$CLANG_FORMAT" --style=file "${mode[@]}"; then
  echo "format: the files above differ from .clang-format; scripts/format.sh rewrites them" >&2
  exit 1
fi
