#!/usr/bin/env bash
# Runs converge: three identical unattended runs on each sample machine (all
# options, MySQL on the test MariaDB server, the control panel taking over
# "Default Web Site", the other sites "@panel-site") leave the second and the
# third without any change to the image tree or the database dump, the
# preview after the first says "changed": false and --detailed-exitcode says
# 0; every preview document is valid against docs/preview.schema.json.
#
#   tests/scripted/converge.sh PROGRAM
# Needs the server of scripts/test-mariadb.sh (TESSARON_TEST_DB_*); exits 77
# (skipped) without it.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
program=$(realpath "$1")
. "$root/tests/scripted/lib.sh"
begin_test converge

for sample in windows2003 windows2000; do
    machine="$work/$sample"
    cp -a "$root/examples/machines/$sample/." "$machine/"
    database="converge_$sample"
    fresh_database "$database"
    answers="$work/$sample.answers"
    {
        sample_answers "$database"
        echo "cmbControlPanelSite = Default Web Site"
        echo "cmbMainFTPSVC = @panel-site"
        echo "cmbSharedSecureSVC = @panel-site"
        echo "cmbPreviewSVC = @panel-site"
    } >"$answers"
    run=("$program" --machine "$machine" --answers "$answers" --options tasks,database,sites --yes)

    expect_status 10 "$sample: preview of the first run" \
        "${run[@]}" --preview --format json --detailed-exitcode >"$work/preview0.json"
    validate_preview "$work/preview0.json" true
    expect_status 10 "$sample: first run" "${run[@]}" --detailed-exitcode >"$work/run1.log"
    snapshot "$machine" "$database" >"$work/after1"

    expect_status 0 "$sample: preview after the first run" \
        "${run[@]}" --preview --format json --detailed-exitcode >"$work/preview1.json"
    validate_preview "$work/preview1.json" false

    for again in 2 3; do
        expect_status 0 "$sample: run $again" "${run[@]}" --detailed-exitcode >"$work/run$again.log"
        snapshot "$machine" "$database" >"$work/after$again"
        if ! diff -u "$work/after1" "$work/after$again" >"$work/diff$again"; then
            echo "converge.sh: $sample: run $again changed the machine or the database:" >&2
            cat "$work/diff$again" >&2
            exit 1
        fi
    done
    echo "converge.sh: $sample: runs 2 and 3 changed nothing ($(wc -l <"$work/after1") lines compared)"
done
