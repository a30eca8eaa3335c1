#!/usr/bin/env bash
# Sets up a Debian 12 machine for the project and builds it into build/.
# Installs every package the build, the tests and the sample run need
# (apt-get, as root or through sudo), then configures and builds with Ninja.
# The program ends up at build/tessaron-config.
#
#   scripts/setup.sh              install what is missing, then build
#   TESSARON_SKIP_APT=1 scripts/setup.sh   build only
#   TESSARON_SKIP_BUILD=1 scripts/setup.sh  install only
set -euo pipefail

cd "$(dirname "$0")/.."

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev googletest libpugixml-dev
    unixodbc unixodbc-dev odbc-mariadb tdsodbc mariadb-server mariadb-client
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev xvfb xauth
    libbenchmark-dev ccache
    clang libclang-rt-dev
)

missing_packages() {
    local package
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

install_packages() {
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || {
            echo "setup.sh: run as root (or install sudo) to install packages" >&2
            exit 1
        }
        as_root=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update
    "${as_root[@]}" apt-get install -y "${PACKAGES[@]}"
}

if [ "${TESSARON_SKIP_APT:-0}" != 1 ]; then
    if [ -n "$(missing_packages)" ]; then
        install_packages
    else
        echo "setup.sh: all packages are installed"
    fi
fi

[ "${TESSARON_SKIP_BUILD:-0}" = 1 ] && exit 0

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
echo "setup.sh: built build/tessaron-config"
