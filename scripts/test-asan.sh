#!/usr/bin/env bash
# Runs every test in a build with AddressSanitizer and UBSan (build-asan/):
# the same tests as scripts/test.sh, with the throw-away MariaDB server. Any
# sanitizer report fails its test; the one known leak of the system's font
# configuration library is suppressed by name (scripts/lsan.supp).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

TESSARON_SKIP_BUILD=1 scripts/setup.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARON_SANITIZE=ON
cmake --build build-asan -j 2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

eval "$(bash "$root/scripts/test-mariadb.sh" start)"
trap 'bash "$root/scripts/test-mariadb.sh" stop "$TESSARON_TEST_DB_STATE" || true' EXIT

cd "$root/build-asan"
ctest --output-on-failure --timeout 900
