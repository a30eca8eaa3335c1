#!/usr/bin/env bash
# Starts and stops the throw-away MariaDB server the database tests run against.
#
#   eval "$(scripts/test-mariadb.sh start)"   starts it, prints the export lines
#   scripts/test-mariadb.sh stop [STATE_DIR]  stops it by its PID, removes its files
#
# The server listens on 127.0.0.1 on a free port, keeps its data in a fresh
# temporary folder and otherwise runs with default settings (case-sensitive
# table names, backslash escapes on). The state folder also holds the
# project-local odbcinst.ini that registers the two driver names the program
# uses; ODBCSYSINI points at it.
set -euo pipefail

TEST_USER=tessaron
TEST_PASSWORD='tessaron-test-pw'

die() {
    echo "test-mariadb.sh: $*" >&2
    exit 1
}

find_program() {
    local name
    for name in "$@"; do
        if command -v "$name" >/dev/null 2>&1; then
            command -v "$name"
            return 0
        fi
        for dir in /usr/sbin /usr/bin /usr/local/sbin /usr/local/bin /usr/libexec; do
            if [ -x "$dir/$name" ]; then
                echo "$dir/$name"
                return 0
            fi
        done
    done
    return 1
}

# The first existing file of the given name in the usual ODBC driver folders.
find_driver() {
    local name=$1 dir
    for dir in /usr/lib/x86_64-linux-gnu/odbc /usr/lib/aarch64-linux-gnu/odbc \
        /usr/lib/x86_64-linux-gnu /usr/lib/aarch64-linux-gnu /usr/lib64 /usr/lib \
        /usr/local/lib /usr/lib/odbc /usr/lib64/odbc; do
        if [ -f "$dir/$name" ]; then
            echo "$dir/$name"
            return 0
        fi
    done
    if command -v dpkg >/dev/null 2>&1; then
        dpkg -S "/$name" 2>/dev/null | sed -n 's/^[^:]*: //p' | grep "/$name\$" | head -n 1 | grep . && return 0
    fi
    return 1
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

write_odbcinst() {
    local folder=$1 mariadb_driver tds_driver
    mariadb_driver=$(find_driver libmaodbc.so) || die "MariaDB Connector/ODBC (libmaodbc.so, package odbc-mariadb) not found"
    tds_driver=$(find_driver libtdsodbc.so) || die "FreeTDS ODBC driver (libtdsodbc.so, package tdsodbc) not found"
    cat >"$folder/odbcinst.ini" <<EOF
[MySQL ODBC 3.51 Driver]
Description=MariaDB Connector/ODBC under the name the program uses
Driver=$mariadb_driver

[SQL Server]
Description=FreeTDS under the name the program uses
Driver=$tds_driver
EOF
    : >"$folder/odbc.ini"
}

start() {
    local mariadbd install_db client state port pid i
    mariadbd=$(find_program mariadbd mysqld) || die "mariadbd not found (package mariadb-server)"
    install_db=$(find_program mariadb-install-db mysql_install_db) || die "mariadb-install-db not found"
    client=$(find_program mariadb mysql) || die "mariadb client not found (package mariadb-client)"

    state=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-mariadb.XXXXXX")
    mkdir -p "$state/data" "$state/odbc"
    write_odbcinst "$state/odbc"

    "$install_db" --no-defaults --datadir="$state/data" --user="$(id -un)" \
        --auth-root-authentication-method=socket --auth-root-socket-user="$(id -un)" --skip-test-db \
        >"$state/install.log" 2>&1 || { cat "$state/install.log" >&2; rm -rf "$state"; die "mariadb-install-db failed"; }

    for i in $(seq 1 50); do
        port=$((20000 + RANDOM % 40000))
        port_in_use "$port" || break
    done

    "$mariadbd" --no-defaults --datadir="$state/data" --user="$(id -un)" \
        --bind-address=127.0.0.1 --port="$port" --socket="$state/mariadb.sock" \
        --pid-file="$state/mariadbd.pid" --log-error="$state/error.log" \
        --skip-log-bin --innodb-buffer-pool-size=32M >/dev/null 2>&1 &
    pid=$!
    echo "$pid" >"$state/pid"

    for i in $(seq 1 300); do
        if "$client" --no-defaults --protocol=socket --socket="$state/mariadb.sock" -u"$(id -un)" \
            -e 'SELECT 1' >/dev/null 2>&1; then
            break
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            cat "$state/error.log" >&2 || true
            rm -rf "$state"
            die "mariadbd exited during start"
        fi
        sleep 0.1
    done

    "$client" --no-defaults --protocol=socket --socket="$state/mariadb.sock" -u"$(id -un)" <<EOF || die "could not create the test login"
CREATE USER '$TEST_USER'@'%' IDENTIFIED BY '$TEST_PASSWORD';
GRANT ALL PRIVILEGES ON *.* TO '$TEST_USER'@'%' WITH GRANT OPTION;
CREATE USER '$TEST_USER'@'localhost' IDENTIFIED BY '$TEST_PASSWORD';
GRANT ALL PRIVILEGES ON *.* TO '$TEST_USER'@'localhost' WITH GRANT OPTION;
EOF

    cat <<EOF
export TESSARON_TEST_DB_STATE='$state'
export TESSARON_TEST_DB_HOST='127.0.0.1'
export TESSARON_TEST_DB_PORT='$port'
export TESSARON_TEST_DB_USER='$TEST_USER'
export TESSARON_TEST_DB_PASSWORD='$TEST_PASSWORD'
export TESSARON_TEST_DB_SOCKET='$state/mariadb.sock'
export ODBCSYSINI='$state/odbc'
EOF
}

stop() {
    local state=${1:-${TESSARON_TEST_DB_STATE:-}} pid i
    [ -n "$state" ] || die "no state folder: give it as argument or set TESSARON_TEST_DB_STATE"
    [ -d "$state" ] || die "state folder $state does not exist"
    if [ -f "$state/pid" ]; then
        pid=$(cat "$state/pid")
        if kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid"
            for i in $(seq 1 300); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
            if kill -0 "$pid" 2>/dev/null; then
                kill -KILL "$pid" 2>/dev/null || true
            fi
        fi
    fi
    case "$state" in
    */tessaron-mariadb.*) rm -rf "$state" ;;
    *) die "refusing to remove $state: not a folder this script created" ;;
    esac
}

case "${1:-}" in
start) start ;;
stop) stop "${2:-}" ;;
*)
    echo "usage: $0 start | stop [STATE_DIR]" >&2
    exit 64
    ;;
esac
