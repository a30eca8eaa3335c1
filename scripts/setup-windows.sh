#!/usr/bin/env bash
# Prepares this Debian 12 machine for the Windows cross build and its tests
# under wine: installs the mingw-w64 compilers (posix threads) for i686 and
# x86-64, wine with its 32-bit part (Debian's i386 architecture is added for
# wine32), wixl (msitools) for the installers, GoogleTest's sources and the
# header-only libraries (xxHash, nlohmann-json), and unpacks Debian's source
# package of pugixml (Debian ships pugixml for Linux only) into
# build-windows-deps/. Installs only what is missing; prints the pugixml
# source folder on its last line.
#
#   scripts/setup-windows.sh
#   TESSARON_SKIP_APT=1 scripts/setup-windows.sh   no package installation
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/packages.sh
. scripts/lib/pugixml-source.sh

PACKAGES=(
    cmake ninja-build mingw-w64-tools
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine64 wine32:i386 wixl googletest libxxhash-dev nlohmann-json3-dev dpkg-dev
    # wine's own dialog fonts (Tahoma, MS Sans Serif): the window is laid out
    # for them
    fonts-wine
    unixodbc odbc-mariadb mariadb-server mariadb-client
    # the 32-bit ODBC driver manager and the libraries of the 32-bit driver
    # behind wine32's odbc32 (the driver itself is unpacked below: Debian's
    # odbc-mariadb cannot be installed for two architectures at once)
    libodbc2:i386 libodbcinst2:i386 libmariadb3:i386
)

find_as_root setup-windows.sh
export DEBIAN_FRONTEND=noninteractive

# wine32 runs the i686 programs; it comes from Debian's i386 architecture.
if [ "${TESSARON_SKIP_APT:-0}" != 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi

if [ "${TESSARON_SKIP_APT:-0}" != 1 ] && [ -n "$(missing_packages)" ]; then
    install_packages --no-install-recommends
fi

deps="$root/build-windows-deps"

# The 32-bit MariaDB ODBC driver, unpacked from Debian's package once; the
# 64-bit one stays installed for the Linux tests and the x86-64 programs.
driver32="$deps/odbc-i386/usr/lib/i386-linux-gnu/odbc/libmaodbc.so"
if [ ! -f "$driver32" ]; then
    mkdir -p "$deps/odbc-i386"
    (cd "$deps" && apt-get download odbc-mariadb:i386 >&2)
    dpkg-deb -x "$deps"/odbc-mariadb_*_i386.deb "$deps/odbc-i386"
    rm -f "$deps"/odbc-mariadb_*_i386.deb
fi

# pugixml from Debian's source package, unpacked once.
pugixml_source "$deps" || { echo "setup-windows.sh: no pugixml source in $deps" >&2; exit 1; }
