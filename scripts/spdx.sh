#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every tracked source file the licence line "SPDX-License-Identifier: GPL-3.0-or-later" in its first
# lines: C++ sources and headers (also *.in templates of them) get a // comment on the first line; shell and
# Python scripts, CMake files get a # comment, after the #! line when there is one.
#   scripts/spdx.sh           add the line to the files that lack it (run it again after merging branches)
#   scripts/spdx.sh --check   list the files that lack it; exit status 1 when there is any
set -euo pipefail
cd "$(dirname "$0")/.."
line="SPDX-License-Identifier: GPL-3.0-or-later"
check=0
if [ "${1:-}" = "--check" ]; then check=1; fi

missing=0
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    head -n 3 -- "$file" | grep -q 'SPDX-License-Identifier:' && continue
    missing=$((missing + 1))
    if [ "$check" = 1 ]; then
        echo "no licence line: $file"
        continue
    fi
    case $file in
    *.cpp | *.h | *.c | *.cpp.in | *.h.in) comment="// $line" ;;
    *) comment="# $line" ;;
    esac
    mode=$(stat -c %a -- "$file")
    tmp=$(mktemp)
    if head -n 1 -- "$file" | grep -q '^#!'; then
        { head -n 1 -- "$file"; echo "$comment"; tail -n +2 -- "$file"; } >"$tmp"
    else
        { echo "$comment"; cat -- "$file"; } >"$tmp"
    fi
    chmod "$mode" "$tmp"
    mv -- "$tmp" "$file"
    echo "added: $file"
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c' '*.cpp.in' '*.h.in' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' \
    '*/CMakeLists.txt' '.ci/run')

if [ "$check" = 1 ] && [ "$missing" -gt 0 ]; then
    echo "$missing files lack the licence line; run scripts/spdx.sh" >&2
    exit 1
fi
