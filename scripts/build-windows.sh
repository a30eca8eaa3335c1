#!/usr/bin/env bash
# Cross-builds the Windows program with Debian's mingw-w64 compilers into
# build-windows/: build-windows/tessaron-config.exe, statically linked, and
# (unless TESSARON_WINDOWS_TESTS=0) the test programs that run under wine.
# Checks that the program imports no DLL beyond Windows' own.
#
#   scripts/build-windows.sh              set up what is missing, configure, build
#   scripts/build-windows.sh TARGET...    build only the given targets
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)

pugixml=$(scripts/setup-windows.sh | tail -n 1)

cmake -S . -B build-windows -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DTESSARON_BUILD_GUI=OFF \
    -DTESSARON_BUILD_TESTS="$([ "${TESSARON_WINDOWS_TESTS:-1}" = 0 ] && echo OFF || echo ON)" \
    -DTESSARON_PUGIXML_SOURCE="$pugixml" >/dev/null

if [ $# -gt 0 ]; then
    cmake --build build-windows -j 2 --target "$@"
else
    cmake --build build-windows -j 2
fi

exe=build-windows/tessaron-config.exe
if [ -f "$exe" ]; then
    # Every DLL the program imports must come with Windows itself.
    allowed='^(kernel32|user32|advapi32|ole32|oleaut32|shell32|ws2_32|iphlpapi|odbc32|msvcrt|activeds|shlwapi|version)\.dll$'
    foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' \
        | grep -Ev "$allowed" || true)
    if [ -n "$foreign" ]; then
        echo "build-windows.sh: $exe needs DLLs that Windows does not have: $foreign" >&2
        exit 1
    fi
    echo "build-windows.sh: built $exe (imports: $(x86_64-w64-mingw32-objdump -p "$exe" |
        sed -n 's/^\s*DLL Name: //p' | tr '\n' ' '))"
fi
