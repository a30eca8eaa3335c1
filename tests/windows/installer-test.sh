#!/usr/bin/env bash
# The installer under wine (in the prefix of scripts/test-windows.sh):
# installs an earlier version's MSI, then the release's over it, and finds one
# installed program of the release's version; finds both programs in Program
# Files with their subsystems and the Start-menu entry, runs the installed
# companion, finds that the earlier version does not install over it, then
# uninstalls and finds nothing of it left.
#
#   installer-test.sh x86|x64 MSI OBJDUMP EARLIER_MSI
set -euo pipefail

arch=$1 msi=$2 objdump=$3 earlier_msi=$4
: "${WINEPREFIX:?runs in the wine prefix of scripts/test-windows.sh}"
program_files="$WINEPREFIX/drive_c/Program Files"
if [ "$arch" = x86 ]; then program_files="$WINEPREFIX/drive_c/Program Files (x86)"; fi
folder="$program_files/Tessaron Configuration Utility"
# The all-users Start menu on Windows; wine's msiexec resolves the MSI's
# ProgramMenuFolder to the user's one even for a per-machine installation.
entries=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
entry_exists() {
    local menu
    for menu in "${entries[@]}"; do
        if [ -f "$menu/Tessaron Configuration Utility.lnk" ]; then return 0; fi
    done
    return 1
}
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
not() { ! "$@"; }
subsystem() { "$objdump" -p "$1" | sed -n 's/^Subsystem\s*//p'; }
install() {
    wine msiexec /i "$(winepath -w "$1")" /qn
    local status=$?
    wineserver -w
    return $status
}
# The versions of the installed programs of this name, one line each: the
# uninstall entries (the 32-bit installer's in the registry's 32-bit view), as
# the prefix's registry file holds them once wine has ended.
installed_versions() {
    wineserver -w
    awk '
        /^\[/ { entry = ($0 ~ /^\[Software\\\\(Wow6432Node\\\\)?Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\/); name = ""; version = "" }
        entry && /^"DisplayName"="Tessaron Configuration Utility/ { name = 1 }
        entry && /^"DisplayVersion"=/ { version = $0; sub(/^"DisplayVersion"="/, "", version); sub(/"$/, "", version) }
        name && version != "" { print version; name = ""; version = "" }' "$WINEPREFIX/system.reg" | sort
}
release_version=$(basename "$msi" | sed -n 's/^tessaron-config-\([0-9.]*\)-.*\.msi$/\1/p')

check "the earlier version's MSI installs silently" install "$earlier_msi"
check "the earlier version is installed" test "$(installed_versions)" = 0.9.0
check "the MSI installs silently over it" install "$msi"
check "one program is installed, of version $release_version" \
    test "$(installed_versions)" = "$release_version"
check "tessaron-config.exe is installed" test -f "$folder/tessaron-config.exe"
check "tessaron-config.com is installed" test -f "$folder/tessaron-config.com"
check "the Start-menu entry is there" entry_exists
check "tessaron-config.exe is a GUI program" \
    grep -q "Windows GUI" <<<"$(subsystem "$folder/tessaron-config.exe")"
check "tessaron-config.com is a console program" \
    grep -q "Windows CUI" <<<"$(subsystem "$folder/tessaron-config.com")"
version=$(wine "$folder/tessaron-config.com" --version 2>&1 | tr -d '\r')
check "the installed companion runs ($version)" grep -qx "tessaron-config [0-9.]*" <<<"$version"

check "the earlier version does not install over it" not install "$earlier_msi"
check "the release stays installed" test "$(installed_versions)" = "$release_version"

check "the MSI uninstalls silently" wine msiexec /x "$(winepath -w "$msi")" /qn
wineserver -w
check "no program of this name stays installed" test -z "$(installed_versions)"
check "the program folder is gone" test ! -e "$folder"
check "the Start-menu entry is gone" not entry_exists

echo "$failures failed"
[ "$failures" -eq 0 ]
