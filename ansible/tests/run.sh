#!/usr/bin/env bash
# The collection's tests: the shared invocation code (unit tests, including
# the Windows command lines the action plugin builds), then the playbook
# against localhost on a copy of the Windows Server 2003 sample: check mode
# reports changes and changes nothing, the first run changes, the second does
# not, a failing run fails with the log's ERROR lines.
#
#   ansible/tests/run.sh PROGRAM
# Needs the server of scripts/test-mariadb.sh; exits 77 (skipped) without it.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
program=$(realpath "$1")
. "$root/tests/scripted/lib.sh"
command -v ansible-playbook >/dev/null || {
    echo "ansible-playbook is missing (Debian package ansible): skipped"
    exit 77
}
begin_test ansible
mkdir -p "$work/collections/ansible_collections/tessaron"
ln -s "$root/ansible" "$work/collections/ansible_collections/tessaron/panel"
export ANSIBLE_COLLECTIONS_PATH="$work/collections"
export ANSIBLE_LOCAL_TEMP="$work/ansible-local" ANSIBLE_REMOTE_TEMP="$work/ansible-remote"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3

/usr/bin/python3 -m unittest discover -s "$root/ansible/tests" \
    -p 'test_*.py'

cp -a "$root/examples/machines/windows2003/." "$work/machine/"
database=ansible_test
fresh_database "$database"

ansible-playbook -i localhost, -c local "$root/ansible/tests/playbook.yml" \
    -e "machine=$work/machine program=$program" \
    -e "db_address=$TESSARON_TEST_DB_HOST;Port=$TESSARON_TEST_DB_PORT db_name=$database" \
    -e "db_user=$TESSARON_TEST_DB_USER db_password=$TESSARON_TEST_DB_PASSWORD"
