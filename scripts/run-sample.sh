#!/usr/bin/env bash
# The program's main job without a window: copies the sample Windows Server
# 2003 machine (examples/machines/windows2003) to a fresh temporary folder,
# starts a throw-away MariaDB server on the loopback address for the panel's
# database, and performs a whole unattended installation run on the copy with
# all three options (scheduled tasks, database, web sites), printing the
# progress log as it is written. The server is stopped at the end; the copy is
# kept to look at afterwards and named at the end.
#
#   scripts/run-sample.sh [extra tessaron-config options]
set -euo pipefail

cd "$(dirname "$0")/.."

program=${TESSARON_CONFIG:-build/tessaron-config}
[ -x "$program" ] || {
    echo "run-sample.sh: $program is missing; run scripts/setup.sh first" >&2
    exit 1
}

machine=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-sample.XXXXXX")
cp -a examples/machines/windows2003/. "$machine/"

eval "$(scripts/test-mariadb.sh start)"
trap 'scripts/test-mariadb.sh stop "$TESSARON_TEST_DB_STATE" >/dev/null 2>&1 || true' EXIT

database=tessaron
client=$(command -v mariadb || command -v mysql)
"$client" --no-defaults --protocol=socket --socket="$TESSARON_TEST_DB_SOCKET" -uroot \
    -e "CREATE DATABASE IF NOT EXISTS \`$database\`"

# The sample answers with the database login of the server just started; the
# later lines win, as typing into the window again would.
answers="$machine.answers"
{
    cat examples/answers/windows2003.answers
    echo "cmbMainSQLServerType = MySQL"
    echo "txtMainDatabaseIP = \"$TESSARON_TEST_DB_HOST;Port=$TESSARON_TEST_DB_PORT\""
    echo "txtMainDatabaseName = $database"
    echo "txtMainDatabaseUsername = \"$TESSARON_TEST_DB_USER\""
    echo "txtMainDatabasePassword = \"$TESSARON_TEST_DB_PASSWORD\""
} >"$answers"

status=0
"$program" --machine "$machine" --answers "$answers" \
    --options tasks,database,sites "$@" || status=$?

echo
echo "run-sample.sh: machine image after the run: $machine (exit status $status)"
if [ -f "$machine/C/Tessaron/panel/config.inc" ]; then
    echo "run-sample.sh: config.inc written at $machine/C/Tessaron/panel/config.inc"
fi
exit "$status"
