#!/usr/bin/env bash
# Runs the Windows programs' tests under wine for both architectures:
# cross-builds (scripts/build-windows.sh), makes a throw-away wine prefix (a
# 64-bit one, which runs the 32-bit programs through wine32), starts the
# throw-away MariaDB server (wine's odbc32 hands the program's ODBC calls to
# this machine's unixODBC, so the server is reached as on Linux), runs ctest
# in each build tree (every test program through wine, the installer through
# wine's msiexec) and removes the prefix and stops the server again, whatever
# the outcome.
#
#   scripts/test-windows.sh
#   TESSARON_WINDOWS_ARCHS=x86_64 scripts/test-windows.sh   one architecture only
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/windows-trees.sh

scripts/build-windows.sh

prefix=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-wine.XXXXXX")
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No prompts to install wine's .NET and HTML engines into the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
db_state=
cleanup() {
    wineserver -k 2>/dev/null || true
    case "$prefix" in
    */tessaron-wine.*) rm -rf "$prefix" ;;
    esac
    if [ -n "$db_state" ]; then bash "$root/scripts/test-mariadb.sh" stop "$db_state" || true; fi
}
trap cleanup EXIT

started=$(date +%s)
wineboot -i >/dev/null 2>&1
wineserver -w
# Wine's own fonts (fonts-wine: Tahoma, MS Sans Serif, ...) in the prefix's
# font folder, as Windows has its fonts there: this wine does not read them
# from where the package puts them, and without them every face the window
# asks for is drawn in a wider Linux face.
cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/"
# No display needed: the window tests draw through wine's null graphics driver.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
echo "test-windows.sh: wine prefix ready in $(($(date +%s) - started)) s"

# Without wine32 a 32-bit program only makes wine print an error, and wine
# still exits 0: a test program's status alone would pass. Each
# architecture's companion must print its version first.
for arch in $(windows_archs); do
    program="$(windows_build_tree "$arch")/tessaron-config.com"
    version=$(wine "$program" --version 2>&1 | tr -d '\r')
    if ! grep -qx "tessaron-config [0-9.]*" <<<"$version"; then
        echo "test-windows.sh: wine does not run the $arch programs (is wine32 installed?):" >&2
        echo "$version" >&2
        exit 1
    fi
    echo "test-windows.sh: wine runs the $arch programs ($version)"
done

eval "$(bash "$root/scripts/test-mariadb.sh" start)"
db_state=$TESSARON_TEST_DB_STATE

# wine's 32-bit odbc32 hands its calls to the 32-bit unixODBC, which loads the
# drivers' 32-bit builds (libodbc2:i386, and the MariaDB driver that
# setup-windows.sh unpacked into build-windows-deps/): the same registrations
# with their i386 paths.
odbc64=$ODBCSYSINI
odbc32="$prefix/odbc-i686"
mkdir -p "$odbc32"
sed -e "s#=.*/libmaodbc.so#=$root/build-windows-deps/odbc-i386/usr/lib/i386-linux-gnu/odbc/libmaodbc.so#" \
    -e 's#/x86_64-linux-gnu/#/i386-linux-gnu/#' "$odbc64/odbcinst.ini" >"$odbc32/odbcinst.ini"
cp "$odbc64/odbc.ini" "$odbc32/odbc.ini"

for arch in $(windows_archs); do
    echo "test-windows.sh: the $arch tests"
    started=$(date +%s)
    if [ "$arch" = i686 ]; then export ODBCSYSINI=$odbc32; else export ODBCSYSINI=$odbc64; fi
    (cd "$root/$(windows_build_tree "$arch")" && ctest --output-on-failure --timeout 900)
    echo "test-windows.sh: the $arch tests took $(($(date +%s) - started)) s"
done
