#!/usr/bin/env bash
# Runs the Windows program's tests under wine: cross-builds (scripts/
# build-windows.sh), makes a throw-away wine prefix, starts the throw-away
# MariaDB server (wine's odbc32 hands the program's ODBC calls to this
# machine's unixODBC, so the server is reached as on Linux), runs ctest in
# build-windows/ (every test program through wine) and removes the prefix and
# stops the server again, whatever the outcome.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

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
# No display needed: the window tests draw through wine's null graphics driver.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
echo "test-windows.sh: wine prefix ready in $(($(date +%s) - started)) s"

eval "$(bash "$root/scripts/test-mariadb.sh" start)"
db_state=$TESSARON_TEST_DB_STATE

cd "$root/build-windows"
ctest --output-on-failure --timeout 900
