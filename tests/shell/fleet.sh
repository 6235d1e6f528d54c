#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fleet.sh <quorvix executable> <shipped base.ini> <playbook> <work directory>
# The Ansible playbook of contrib/ansible against this machine with the local
# connection, under two inventory names that stand for two hosts: it copies
# the program, measures each host under the host's lock, fetches the results,
# compares them and adds them to the database it is given. Then the same two
# hosts measured at once must still take turns at the lock, and a host held
# up by the lock or out of reach must make the playbook fail and say why.
# Exit status 77 (skipped) only when ansible-playbook is not installed.
set -euo pipefail
if ! command -v ansible-playbook >/dev/null; then
  echo "fleet: SKIPPED: ansible-playbook not found (Debian package ansible-core)"
  exit 77
fi
exe=$(realpath "$1")
shipped=$(realpath "$2")
playbook=$(realpath "$3")
work=$(realpath -m "$4")
rm -rf "$work"
mkdir -p "$work/home"
cd "$work"
fail() { echo "fleet: $*" >&2; exit 1; }

# Ansible's own files in the work directory, no user's settings, no display:
# the program runs on the offscreen platform and skips the video test.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export ANSIBLE_CONFIG=$work/ansible.cfg ANSIBLE_NOCOLOR=1 ANSIBLE_HOST_KEY_CHECKING=False
export ANSIBLE_LOCAL_TEMP=$work/home/.ansible/tmp ANSIBLE_REMOTE_TEMP=$work/home/.ansible/tmp
export ANSIBLE_ASYNC_DIR=$work/home/.ansible_async
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
: >"$ANSIBLE_CONFIG"
local_host='ansible_connection=local ansible_python_interpreter="{{ ansible_playbook_python }}"'
printf 'alpha %s\nbeta %s\n' "$local_host" "$local_host" >hosts.ini
printf 'gamma ansible_host=127.0.0.1 ansible_port=1 ansible_connection=ssh\nalpha %s\n' \
  "$local_host" >unreachable.ini
cp "$shipped" fleet.ini
cp fleet.ini before.ini

run() { # run <output> <inventory> [-e ...]: the playbook's exit status
  local out=$1 inventory=$2
  shift 2
  set +e
  ansible-playbook -i "$inventory" "$playbook" -e "quorvix_binary=$exe" -e "quorvix_command=$exe" \
    -e "quorvix_base_ini=$shipped" -e "quorvix_database=$work/fleet.ini" \
    -e "quorvix_results=$work/results" -e "quorvix_dir=$work/there" \
    -e "quorvix_lock=$work/bench.lock" -e quorvix_repeat=1 \
    -e '{"quorvix_report_options": ["--tests", "cpu", "--no-context"]}' "$@" >"$out" 2>&1
  local status=$?
  set -e
  return $status
}

# One host after the other, the program copied to each.
run serial.txt hosts.ini || { cat serial.txt; fail "the playbook failed"; }
[ -x there/quorvix ] && cmp there/base.ini "$shipped" || fail "the program was not installed"
python3 - results "$(hostname)" "$(id -un)" "$HOME" <<'PY' || { cat serial.txt; fail "the fetched results"; }
import glob, json, os, sys
for host in ("alpha", "beta"):
    files = glob.glob(os.path.join(sys.argv[1], host, "*.json"))
    assert len(files) == 1, (host, files)
    text = open(files[0], encoding="utf-8").read()
    d = json.loads(text)
    assert d["anonymous"] is True and d["error"] is None, d
    assert d["tests"] == ["cpu", "fpu"] and d["runs"] == 1, (d["tests"], d["runs"])
    # Scored against the base.ini copied beside the program.
    assert d["results"]["cpu"]["median"] > 0, d["results"]["cpu"]
    for member in ("program", "version", "schemaVersion", "overview", "environment"):
        assert member in d, member
    # Left out, replaced by one fixed word.
    overview = d["overview"]
    assert overview["computerName"] == overview["userName"], overview
    assert overview["computerName"] not in (sys.argv[2], sys.argv[3]), overview
    assert sys.argv[4] not in text, "the home folder"
print("fleet: fetched", ", ".join(sorted(glob.glob(sys.argv[1] + "/*/*.json"))))
PY
grep -q 'CPU passes' serial.txt || fail "no comparison shown: $(cat serial.txt)"
grep -q 'CPU passes' results/comparison-*.txt || fail "no comparison kept"
python3 - before.ini fleet.ini <<'PY' || { cat serial.txt; fail "the rows added"; }
import configparser, sys
def read(name):
    c = configparser.ConfigParser(interpolation=None, strict=False, delimiters=("=",))
    c.optionxform = str
    c.read(name, encoding="utf-8")
    return c
before, after = read(sys.argv[1]), read(sys.argv[2])
assert dict(before["DATA"]) == dict(after["DATA"]), "DATA changed"
old, new = dict(before["Processor"]), dict(after["Processor"])
assert all(new.get(k) == v for k, v in old.items()), "a row changed or went"
added = set(new) - set(old)
# The same machine twice: two rows, or one when both measured alike.
assert 1 <= len(added) <= 2, (old, new)
print("fleet: added", sorted(added))
PY

# Both hosts at once: they are one machine, so the lock makes them take turns.
cat >wrapper.sh <<SH
#!/bin/sh
case "\$*" in *--report*) ;; *) exec "$work/there/quorvix" "\$@" ;; esac
echo "start \$\$" >>"$work/turns"
"$work/there/quorvix" "\$@"
status=\$?
echo "end \$\$" >>"$work/turns"
exit \$status
SH
chmod +x wrapper.sh
run parallel.txt hosts.ini -e quorvix_serial=2 -e quorvix_install=none \
  -e "quorvix_program=$work/wrapper.sh" -e "quorvix_database=$work/new.ini" ||
  { cat parallel.txt; fail "parallel: the playbook failed"; }
grep -c '^start' turns | grep -qx 2 || fail "parallel: not two benchmarks: $(cat turns)"
awk '{print $1}' turns | paste -sd' ' | grep -qx 'start end start end' ||
  fail "two benchmarks at once: $(cat turns)"
[ "$(ls results/alpha | wc -l)" = 2 ] && [ "$(ls results/beta | wc -l)" = 2 ] ||
  fail "parallel: results: $(ls -R results)"

# The database named anew began as the shipped one.
[ "$(head -n "$(wc -l <"$shipped")" new.ini)" = "$(cat "$shipped")" ] &&
  [ "$(wc -l <new.ini)" -gt "$(wc -l <"$shipped")" ] || fail "new database: $(cat new.ini)"

# An unreachable host, then one whose lock another benchmark holds: the
# playbook goes on past the first, then fails naming both.
cp fleet.ini kept.ini
exec 9>"$work/bench.lock"
flock -n 9 || fail "cannot hold the lock"
if run held.txt unreachable.ini -e quorvix_lock_wait=1; then
  cat held.txt
  fail "the playbook succeeded without any result"
fi
exec 9>&-
grep -q "alpha: no result: another benchmark held $work/bench.lock for 1 s" held.txt ||
  { cat held.txt; fail "no word of the held lock"; }
grep -q 'No result from 2 of 2 hosts: gamma (unreachable' held.txt ||
  { cat held.txt; fail "the unreachable host not named"; }
cmp fleet.ini kept.ini || fail "the database changed without results"
echo "fleet: a held lock and an unreachable host end the playbook with an error"
