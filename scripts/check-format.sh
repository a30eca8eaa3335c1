#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
#   scripts/check-format.sh          check every file
#   scripts/check-format.sh --fix    rewrite the files in place
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/check-format.$$; then
    grep -E '^[^ ].*: (warning|error):' /tmp/check-format.$$ | cut -d: -f1 | sort -u |
        sed 's/^/check-format.sh: not formatted: /' >&2
    rm -f /tmp/check-format.$$
    echo "check-format.sh: run scripts/check-format.sh --fix" >&2
    exit 1
fi
rm -f /tmp/check-format.$$
echo "check-format.sh: ${#files[@]} files formatted"
