#!/usr/bin/env bash
# Runs every test: sets the machine up when packages or the build are missing,
# builds, starts the throw-away MariaDB server the database tests use, runs
# ctest in build/ and stops the server again, whatever the outcome.
set -euo pipefail

cd "$(dirname "$0")/.."

# The set-up installs only what is missing; afterwards build incrementally.
scripts/setup.sh

# Tests of the window run offscreen; no display is needed.
export QT_QPA_PLATFORM=offscreen

if [ -x scripts/test-mariadb.sh ] || [ -f scripts/test-mariadb.sh ]; then
    eval "$(bash scripts/test-mariadb.sh start)"
    trap 'bash scripts/test-mariadb.sh stop "$TESSARON_TEST_DB_STATE" || true' EXIT
fi

cd build
ctest --output-on-failure --timeout 600
