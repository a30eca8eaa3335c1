#!/usr/bin/env bash
# clang-tidy's bugprone checks on the program's core (src/ without the Qt
# views, the Windows backend, the Windows window and the Windows program
# start, which this compiler database does not build); any finding fails.
# Needs the compile database of build/.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || { echo "tidy.sh: build first (scripts/setup.sh)" >&2; exit 1; }
checks='-*,bugprone-*,-bugprone-easily-swappable-parameters'
mapfile -t files < <(git ls-files -- 'src/*.cpp' | grep -v -e '^src/gui/' \
    -e '^src/platform/windows/' -e '^src/winui/' -e '^src/main/windows/')
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 8 \
    clang-tidy -p build --quiet --checks="$checks" --warnings-as-errors='*' 2>/dev/null
echo "tidy.sh: ${#files[@]} files without findings"
