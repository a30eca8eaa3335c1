#!/usr/bin/env bash
# The program's main job in its window: copies the sample Windows Server 2003
# machine image (examples/machines/windows2003) to a fresh temporary folder,
# starts a throw-away MariaDB server on the loopback address for the panel's
# database, prints what to type on the Database tab, and opens the settings
# window on the copy. The database server is stopped when the window closes;
# the copy is kept to look at afterwards and named at the end.
#
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) it says so and shows
# how to perform the same run unattended.
#
#   scripts/run-window.sh [extra tessaron-config options]
set -euo pipefail

cd "$(dirname "$0")/.."

program=${TESSARON_CONFIG:-build/tessaron-config}  # the program to run (default: the build of setup.sh)
[ -x "$program" ] || {
    echo "run-window.sh: $program is missing; run scripts/setup.sh first" >&2
    exit 1
}

machine=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-window.XXXXXX")
cp -a examples/machines/windows2003/. "$machine/"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    rm -rf "$machine"
    cat <<EOT
run-window.sh: no display is available (DISPLAY and WAYLAND_DISPLAY are unset),
so the settings window cannot open. The same installation runs unattended with

  $program --machine <copy of examples/machines/windows2003> \\
      --answers examples/answers/windows2003.answers --options tasks,database,sites

scripts/run-sample.sh does exactly that on a fresh copy, with a throw-away
MariaDB server for the database; running it now:

EOT
    exec scripts/run-sample.sh "$@"
fi

# tessaron-config hands the window over to this program in its own folder.
window=$(dirname "$program")/tessaron-config-window
[ -x "$window" ] || {
    echo "run-window.sh: $window (the settings window $program starts) is missing;" \
        "run scripts/setup.sh first" >&2
    exit 1
}

eval "$(scripts/test-mariadb.sh start)"
trap 'scripts/test-mariadb.sh stop "$TESSARON_TEST_DB_STATE" || true' EXIT

database=tessaron
client=$(command -v mariadb || command -v mysql)
"$client" --no-defaults --protocol=socket --socket="$TESSARON_TEST_DB_SOCKET" -uroot \
    -e "CREATE DATABASE IF NOT EXISTS \`$database\`"

cat <<EOT
run-window.sh: machine image copy: $machine
run-window.sh: MariaDB is listening on $TESSARON_TEST_DB_HOST port $TESSARON_TEST_DB_PORT.

Type these on the Database tab:
  Main Database Server Type:  MySQL
  Database Address:           $TESSARON_TEST_DB_HOST;Port=$TESSARON_TEST_DB_PORT
  Database Name:              $database
  Database Username:          $TESSARON_TEST_DB_USER
  Database Password:          $TESSARON_TEST_DB_PASSWORD

Then press "Configure Tessaron" and tick "Initialize Tessaron database" (and
the other options you want) in the dialog.
EOT

status=0
"$program" --machine "$machine" "$@" || status=$?

echo
echo "run-window.sh: machine image after the window closed: $machine (exit status $status)"
if [ -f "$machine/C/Tessaron/panel/config.inc" ]; then
    echo "run-window.sh: config.inc written at $machine/C/Tessaron/panel/config.inc"
fi
exit "$status"
