# Helpers of the scripted tests; sourced after setting $root (the source
# folder) and $program (the program to test).

# A temporary folder $work for the test NAME, removed at the end unless KEEP
# is set; ends the test as skipped without the test database server.
begin_test() {
    require_database
    work=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-$1.XXXXXX")
    trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
}

# Ends the test as skipped (77) without the test database server.
require_database() {
    if [ -z "${TESSARON_TEST_DB_SOCKET:-}" ]; then
        echo "no test database server (scripts/test-mariadb.sh start): skipped"
        exit 77
    fi
    client=$(command -v mariadb || command -v mysql)
    dump=$(command -v mariadb-dump || command -v mysqldump)
}

sql() {
    "$client" --no-defaults --protocol=socket --socket="$TESSARON_TEST_DB_SOCKET" -u"$(id -un)" -e "$1"
}

fresh_database() {
    sql "DROP DATABASE IF EXISTS \`$1\`; CREATE DATABASE \`$1\`"
}

# The sample answers with the test server's login for database $1.
sample_answers() {
    grep -v '^txtDNSRoot\|^txtMainDatabase\|^cmbMainSQLServerType' \
        "$root/examples/answers/windows2003.answers"
    echo 'txtDNSRoot = %SystemRoot%\system32\dns'
    echo "cmbMainSQLServerType = MySQL"
    echo "txtMainDatabaseIP = \"$TESSARON_TEST_DB_HOST;Port=$TESSARON_TEST_DB_PORT\""
    echo "txtMainDatabaseName = $1"
    echo "txtMainDatabaseUsername = \"$TESSARON_TEST_DB_USER\""
    echo "txtMainDatabasePassword = \"$TESSARON_TEST_DB_PASSWORD\""
}

# Runs the command; fails the test unless it exits with status $1.
expect_status() {
    local expected=$1 what=$2 status=0
    shift 2
    "$@" || status=$?
    if [ "$status" != "$expected" ]; then
        echo "$what: exit status $status, expected $expected" >&2
        exit 1
    fi
}

# The state a run may change: every folder, every file's digest (config.inc
# without its date line; the copies a run keeps of the files it replaces, its
# journal and lock are the run's own record, not the machine's state), and
# the database dump of $2.
snapshot() {
    local machine=$1 database=$2
    (
        cd "$machine"
        find . -type d | LC_ALL=C sort | sed 's/^/folder /'
        find . -type f ! -name '.tessaron-run.lock' ! -name 'config.inc.*.bak' \
            ! -name 'tessaron-run.journal' ! -path '*/inetsrv/History/*' -print0 |
            LC_ALL=C sort -z | while IFS= read -r -d '' file; do
                case "$file" in
                */panel/config.inc) echo "$(grep -av "^' Creation Date:" "$file" | sha256sum) $file" ;;
                *) sha256sum "$file" ;;
                esac
            done
    )
    "$dump" --no-defaults --protocol=socket --socket="$TESSARON_TEST_DB_SOCKET" -u"$(id -un)" \
        --skip-dump-date --skip-extended-insert --order-by-primary "$database" |
        grep -v '^-- \|AUTO_INCREMENT='
}

# Checks a preview document against the schema and its verdict against $2.
validate_preview() {
    /usr/bin/python3 - "$root/docs/preview.schema.json" "$1" "$2" <<'PYTHON'
import json, sys
import jsonschema
schema = json.load(open(sys.argv[1]))
document = json.load(open(sys.argv[2]))
jsonschema.validate(document, schema, cls=jsonschema.Draft202012Validator)
expected = sys.argv[3] == "true"
if document["changed"] != expected:
    sys.exit("%s: changed is %s, expected %s; counts %s" % (sys.argv[2], document["changed"], expected, document["counts"]))
PYTHON
}
