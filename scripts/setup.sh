#!/usr/bin/env bash
# Sets up a Debian 12 machine for the project and builds it into build/.
# Installs every package the build, the tests and the sample run need
# (apt-get, as root or through sudo), then configures and builds with Ninja.
# The program ends up at build/tessaron-config, its settings window at
# build/tessaron-config-window beside it.
#
#   scripts/setup.sh              install what is missing, then build
#   TESSARON_SKIP_APT=1 scripts/setup.sh   build only
#   TESSARON_SKIP_BUILD=1 scripts/setup.sh  install only
#   TESSARON_WERROR=ON scripts/setup.sh      warnings in src/ fail the build (CI)
set -euo pipefail

cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/pugixml-source.sh

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev googletest libpugixml-dev libxxhash-dev nlohmann-json3-dev dpkg-dev
    unixodbc unixodbc-dev odbc-mariadb tdsodbc mariadb-server mariadb-client
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev xvfb xauth
    libbenchmark-dev ccache
    clang libclang-rt-dev clang-format clang-tidy
    ansible python3-jsonschema
)

if [ "${TESSARON_SKIP_APT:-0}" != 1 ]; then
    if [ -n "$(missing_packages)" ]; then
        find_as_root setup.sh
        install_packages
    else
        echo "setup.sh: all packages are installed"
    fi
fi

# pugixml's source, which the build compiles in its compact layout for the
# metabase (cmake/pugixml.cmake); without it the build uses Debian's library.
if [ "${TESSARON_SKIP_APT:-0}" != 1 ]; then
    (find_as_root setup.sh && pugixml_source build-deps >/dev/null) ||
        echo "setup.sh: no pugixml source; the metabase uses Debian's pugixml library" >&2
fi

[ "${TESSARON_SKIP_BUILD:-0}" = 1 ] && exit 0

# The benchmarks are built too (never run here), so that they keep compiling.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARON_WERROR="${TESSARON_WERROR:-OFF}" -DTESSARON_BUILD_BENCH=ON
cmake --build build
echo "setup.sh: built build/tessaron-config and build/tessaron-config-window"
