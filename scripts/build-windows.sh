#!/usr/bin/env bash
# Cross-builds the Windows program with Debian's mingw-w64 compilers for both
# architectures, each into a tree of its own:
#   build-windows-i686/   32-bit: Windows 2000, 32-bit Windows Server 2003
#   build-windows/        64-bit: Windows Server 2003 x64 and later
# Each tree holds tessaron-config.exe (the window's start, GUI subsystem),
# tessaron-config.com (its console companion for the command prompt), their
# stripped release copies with the debug information beside them in
# release/, the MSI, and (unless TESSARON_WINDOWS_TESTS=0) the test programs
# that run under wine: in build-windows/ every suite, in build-windows-i686/
# those of the Windows program itself (the core suites are the same code). The build itself refuses a program that imports a DLL
# Windows lacks or a function newer than the release it is for
# (cmake/windows/check-imports.sh).
#
#   scripts/build-windows.sh              set up what is missing, configure, build
#   scripts/build-windows.sh TARGET...    build only the given targets
#   TESSARON_WINDOWS_ARCHS=i686 scripts/build-windows.sh   one architecture only
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)

pugixml=$(scripts/setup-windows.sh | tail -n 1)
. scripts/lib/windows-trees.sh

for arch in $(windows_archs); do
    tree=$(windows_build_tree "$arch")
    cmake -S . -B "$tree" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DTESSARON_BUILD_GUI=OFF \
        -DTESSARON_BUILD_TESTS="$([ "${TESSARON_WINDOWS_TESTS:-1}" = 0 ] && echo OFF || echo ON)" \
        -DTESSARON_PUGIXML_SOURCE="$pugixml" \
        -DTESSARON_CORE_TESTS="$([ "$arch" = x86_64 ] && echo ON || echo OFF)" >/dev/null
    if [ $# -gt 0 ]; then
        nice cmake --build "$tree" -j 2 --target "$@"
    else
        nice cmake --build "$tree" -j 2
    fi
    for program in "$tree"/release/tessaron-config.exe "$tree"/release/tessaron-config.com; do
        [ -f "$program" ] || continue
        echo "build-windows.sh: built $program ($(stat -c %s "$program") bytes; imports:" \
            "$("$arch"-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' '))"
    done
    for msi in "$tree"/*.msi; do
        if [ -f "$msi" ]; then echo "build-windows.sh: built $msi ($(stat -c %s "$msi") bytes)"; fi
    done
done
