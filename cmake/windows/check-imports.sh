#!/usr/bin/env bash
# Checks a Windows program's imports after it is linked: every DLL must come
# with Windows (system-dlls.txt) and no imported function may be newer than
# the oldest release the program is for (newer-functions.tsv, beside this
# script: each function with the first release that has it and where that is
# documented). Prints each refused import and fails; prints a one-line
# summary otherwise.
#
#   check-imports.sh OBJDUMP PROGRAM MINIMUM
#     MINIMUM: Windows' version number of the oldest release, e.g. 5.0
#     (Windows 2000) or 5.2 (Windows Server 2003)
set -euo pipefail

objdump=$1 program=$2 minimum=$3
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$program")

# "dll function" for every import, DLL names in lower case. objdump -p lists
# each DLL as "DLL Name: X" followed by a table of "vma hint name" rows.
imports=$("$objdump" -p "$program" | awk '
    /^\s*DLL Name: / { dll = tolower($3); next }
    /^\s*$/ { if (dll != "" && rows) dll = ""; rows = 0; next }
    dll != "" && /^\s+[0-9a-f]+\s+[0-9]+\s+\S+/ { print dll, $3; rows = 1 }
    dll != "" && /^\s+[0-9a-f]+\s+<none>\s+[0-9a-f]+/ { print dll, "#" $3; rows = 1 }')
if [ -z "$imports" ]; then
    echo "check-imports.sh: $name: no imports found (is $objdump the right objdump?)" >&2
    exit 1
fi

allowed=$(grep -v '^#' "$here/system-dlls.txt" | tr 'A-Z' 'a-z' | sed '/^\s*$/d')
status=0
foreign=$(awk '{ print $1 }' <<<"$imports" | sort -u | grep -vxF "$allowed" || true)
for dll in $foreign; do
    echo "check-imports.sh: $name imports $dll, which Windows does not bring" >&2
    status=1
done

# Functions whose first release is above the minimum: "function dll version".
newer=$(awk -F '\t' -v minimum="$minimum" '
    /^#/ || NF < 4 { next }
    ($3 + 0) > (minimum + 0) { print $1, tolower($2), $3, $4 }' "$here/newer-functions.tsv")
while read -r dll function; do
    refused=$(awk -v f="$function" -v d="$dll" '$1 == f && $2 == d' <<<"$newer")
    if [ -n "$refused" ]; then
        read -r _ _ version release <<<"$refused"
        echo "check-imports.sh: $name imports $function from $dll, which Windows has only" \
            "from $release ($version) on; the program is for $minimum" >&2
        status=1
    fi
done <<<"$imports"

if [ "$status" -eq 0 ]; then
    echo "check-imports.sh: $name: $(wc -l <<<"$imports") imports from" \
        "$(awk '{ print $1 }' <<<"$imports" | sort -u | wc -l) system DLLs, none newer than $minimum"
fi
exit "$status"
