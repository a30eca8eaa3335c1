#!/usr/bin/env bash
# A recording reproduces: a Windows Server 2003 sample configured by a run is
# recorded with --save-answers-all, and the recording alone (its options and
# passwords from the environment included) applied to a fresh copy of each
# sample gives the same config.inc except the server's own lines (name,
# addresses, log and temporary folders) and the date line.
#
#   tests/scripted/recording.sh PROGRAM
# Needs the server of scripts/test-mariadb.sh; exits 77 (skipped) without it.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
program=$(realpath "$1")
. "$root/tests/scripted/lib.sh"
begin_test recording

database=recording
fresh_database "$database"
configured="$work/configured"
cp -a "$root/examples/machines/windows2003/." "$configured/"
{
    sample_answers "$database"
    echo "cmbControlPanelSite = @panel-site"
    echo "cmbMainFTPSVC = @panel-site"
    echo "cmbSharedSecureSVC = @panel-site"
    echo "cmbPreviewSVC = @panel-site"
} >"$work/first.answers"
expect_status 0 "first run" "$program" --machine "$configured" --answers "$work/first.answers" \
    --options tasks,database,sites >"$work/first.log"

: >"$work/empty.answers"
expect_status 0 "recording" "$program" --machine "$configured" --answers "$work/empty.answers" \
    --options tasks,database,sites --yes --save-answers "$work/recorded.answers" \
    --save-answers-all 2>/dev/null
grep -qx '@options = tasks,database,sites' "$work/recorded.answers"
grep -qx 'txtDNSRoot = %SystemRoot%\\system32\\dns\\' "$work/recorded.answers"
grep -qx 'cmbControlPanelSite = @panel-site' "$work/recorded.answers"
if grep -q '^txtMainIP' "$work/recorded.answers"; then
    echo "recording.sh: the server's own address was recorded" >&2
    exit 1
fi

# config.inc without the server's own lines and the date line, each
# release's Windows folder written as %SystemRoot%.
settings_lines() {
    grep -av "^' Tessaron Configuration File For: \|^' Creation Date: \|^ServerName = \|^ServerIP = \|^InternalIP = \|^LogRoot = \|^TempFolder = " "$1" |
        sed -e 's/C:\\WINDOWS\\/%SystemRoot%\\/g' -e 's/C:\\WINNT\\/%SystemRoot%\\/g'
}

export TESSARON_ADMIN_PASSWORD="Adm1n pass"
export TESSARON_MAIN_DATABASE_PASSWORD="$TESSARON_TEST_DB_PASSWORD"
export TESSARON_MYSQL_ADMIN_PASSWORD="root pass"
export TESSARON_SQL_SERVER_ADMIN_PASSWORD=""
for sample in windows2003 windows2000; do
    fresh="$work/$sample"
    cp -a "$root/examples/machines/$sample/." "$fresh/"
    expect_status 0 "$sample: recording applied" \
        "$program" --machine "$fresh" --answers "$work/recorded.answers" >"$work/$sample.log"
    if ! diff -u <(settings_lines "$configured/C/Tessaron/panel/config.inc") \
        <(settings_lines "$fresh/C/Tessaron/panel/config.inc") >"$work/$sample.diff"; then
        echo "recording.sh: $sample: config.inc differs from the recorded machine's:" >&2
        cat "$work/$sample.diff" >&2
        exit 1
    fi
    echo "recording.sh: $sample: config.inc reproduced" \
        "($(settings_lines "$fresh/C/Tessaron/panel/config.inc" | wc -l) lines compared)"
done
