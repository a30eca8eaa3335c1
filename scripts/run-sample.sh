#!/usr/bin/env bash
# The program's main job on the sample Windows Server 2003 machine: copies
# examples/machines/windows2003 to a fresh temporary folder and performs a
# whole unattended installation run on the copy (scheduled tasks and web
# sites), printing the progress log. The copy is kept to look at afterwards; its
# folder is named at the end.
#
#   scripts/run-sample.sh [extra tessaron-config options]
set -euo pipefail

cd "$(dirname "$0")/.."

program=build/tessaron-config
[ -x "$program" ] || {
    echo "run-sample.sh: $program is missing; run scripts/setup.sh first" >&2
    exit 1
}

machine=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-sample.XXXXXX")
cp -a examples/machines/windows2003/. "$machine/"

status=0
"$program" --machine "$machine" --answers examples/answers/windows2003.answers \
    --options tasks,sites "$@" || status=$?

echo
echo "run-sample.sh: machine image after the run: $machine (exit status $status)"
if [ -f "$machine/C/Tessaron/panel/config.inc" ]; then
    echo "run-sample.sh: config.inc written at $machine/C/Tessaron/panel/config.inc"
fi
exit "$status"
