#!/usr/bin/env bash
# Runs every test: sets the machine up when packages are missing, builds,
# starts the throw-away MariaDB server the database tests use, runs ctest in
# build/ and stops the server again, whatever the outcome.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The set-up installs only what is missing; the build is incremental.
scripts/setup.sh

# Tests of the window run offscreen; no display is needed.
export QT_QPA_PLATFORM=offscreen

if [ -f "$root/scripts/test-mariadb.sh" ]; then
    eval "$(bash "$root/scripts/test-mariadb.sh" start)"
    trap 'bash "$root/scripts/test-mariadb.sh" stop "$TESSARON_TEST_DB_STATE" || true' EXIT
fi

cd "$root/build"
ctest --output-on-failure --timeout 600
