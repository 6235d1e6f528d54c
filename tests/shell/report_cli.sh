#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# report_cli.sh <quorvix executable> <shipped base.ini>
# The real program's command line with its real benchmarks, started without a
# display: it must start on the offscreen platform by itself, skip the video
# test and say why, score the processor, keep stdout for the results, and
# give the documented exit statuses.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$work/quorvix"
cp "$2" "$work/base.ini"
exe="$work/quorvix"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() { echo "report_cli: $*"; exit 1; }

"$exe" --report --json >"$work/report.json" 2>"$work/err.txt" || fail "--report --json: status $?"
python3 - "$work/report.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
r = d["results"]
assert r["cpu"]["median"] > 0 and r["cpu"]["passes"]["median"] > 0, r["cpu"]
assert r["fpu"]["median"] > 0, r["fpu"]
assert r["video"] is None and r["skipped"]["video"].startswith("no display"), r
assert all(x["unit"] == "KiB/s" for x in r["drives"] if "skipped" not in x), r["drives"]
assert d["runs"] == 1 and d["version"] and d["schemaVersion"] == 2 and d["error"] is None, d
assert d["time"].endswith("Z"), d["time"]
print("report_cli: CPU score", r["cpu"]["median"], "from", r["cpu"]["passes"]["median"],
      "passes; FPU score", r["fpu"]["median"], "; priority", d["environment"]["priority"])
PY
grep -q "Processor \.\.\." "$work/err.txt" && fail "progress on stderr without a terminal or --verbose"

# The text log: 23 + n lines ending with the closing line, LF only; by
# default the figures in context follow it, after an empty line.
"$exe" --report >"$work/log.txt" 2>/dev/null || fail "--report: status $?"
grep -A2 -x -- "- All tests completed -------------------" "$work/log.txt" | tail -n 1 |
  grep -q "^= In context" || fail "no context section after the closing line"
"$exe" --report --no-context >"$work/log.txt" 2>/dev/null || fail "--no-context: status $?"
[ "$(tail -n 1 "$work/log.txt")" = "- All tests completed -------------------" ] || fail "no closing line"
grep -q $'\r' "$work/log.txt" && fail "CR on stdout"
grep -qx "Video : 0 (Mb/sec)" "$work/log.txt" || fail "no skipped video line"

# A bad command line: status 2, the usage on stderr, nothing on stdout.
set +e
"$exe" --repeat 0 >"$work/out.txt" 2>"$work/err.txt"
status=$?
set -e
[ "$status" = 2 ] || fail "--repeat 0: status $status"
[ -s "$work/out.txt" ] && fail "--repeat 0 printed on stdout"
grep -q "^Usage: quorvix" "$work/err.txt" || fail "--repeat 0: no usage"

# Keeping results and comparing them. Two single runs compare without a
# verdict; the same result with three runs and a real loss in the pass counts
# gives status 3; a foreign file status 2, named on stderr.
export XDG_DATA_HOME="$work/data"
results="$work/data/quorvix/results"
"$exe" --report --save >/dev/null 2>"$work/err.txt" || fail "--save: status $?"
grep -qx "Results saved to $results/[0-9]\{8\}T[0-9]\{6\}Z\(-[0-9]*\)\?\.json" "$work/err.txt" ||
  fail "--save said: $(cat "$work/err.txt")"
"$exe" --report --json --save >"$work/saved.json" 2>/dev/null || fail "--json --save: status $?"
[ "$(ls "$results" | wc -l)" = 2 ] || fail "not two saved results: $(ls "$results")"
"$exe" --compare previous last >"$work/compare.txt" || fail "--compare previous last: status $?"
grep -q "CPU passes .*spread unknown" "$work/compare.txt" || fail "single runs judged: $(cat "$work/compare.txt")"
python3 - "$work/saved.json" "$work/before.json" "$work/after.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
passes = d["results"]["cpu"]["passes"]
p = passes["median"]
for name, scale in ((sys.argv[2], 1.0), (sys.argv[3], 0.8)):
    runs = [round(p * scale * f) for f in (1.0, 1.01, 0.99)]
    passes.update(runs=runs, median=sorted(runs)[1])
    json.dump(d, open(name, "w"))
PY
set +e
"$exe" --compare "$work/before.json" "$work/after.json" >"$work/compare.txt" 2>&1
status=$?
"$exe" --compare --json "$work/before.json" "$work/after.json" >"$work/compare.json" 2>&1
json_status=$?
echo '{"name": "something else"}' >"$work/foreign.json"
"$exe" --compare "$work/before.json" "$work/foreign.json" >"$work/out.txt" 2>"$work/err.txt"
foreign_status=$?
set -e
[ "$status" = 3 ] || fail "a 20 % loss: status $status: $(cat "$work/compare.txt")"
grep -q "CPU passes .*-20\.0 %  worse" "$work/compare.txt" || fail "no loss shown: $(cat "$work/compare.txt")"
[ "$json_status" = 3 ] || fail "--compare --json: status $json_status"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["worse"] is True' "$work/compare.json" ||
  fail "--compare --json: $(cat "$work/compare.json")"
[ "$foreign_status" = 2 ] || fail "foreign file: status $foreign_status"
grep -q "foreign.json: foreign file" "$work/err.txt" || fail "foreign file: $(cat "$work/err.txt")"
unset XDG_DATA_HOME

# Only the processor, without any base.ini: pass counts, no scores, status 0.
rm "$work/base.ini"
XDG_CONFIG_HOME=$work/config "$exe" --json --tests cpu >"$work/bare.json" 2>/dev/null ||
  fail "no base.ini: status $?"
python3 - "$work/bare.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
r = d["results"]
assert r["cpu"]["median"] is None and r["cpu"]["passes"]["median"] > 0, r["cpu"]
assert r["memory"] is None and d["tests"] == ["cpu", "fpu"], d["tests"]
assert any("PIIMultCPU" in w or "does not exist" in w for w in d["warnings"]), d["warnings"]
PY

# A failing test: status 1, the log so far on stdout, the message on stderr;
# with --json a whole document with the error.
printf '[DATA]\nPIIMultCPU=1\nPIIMultFPU=1\nPIIFreq=1\n[Processor]\nx=y,1\n' >"$work/base.ini"
set +e
"$exe" --report >"$work/out.txt" 2>"$work/err.txt"
status=$?
"$exe" --json >"$work/failed.json" 2>/dev/null
json_status=$?
set -e
[ "$status" = 1 ] || fail "bad row: status $status"
[ "$(wc -l <"$work/out.txt")" = 14 ] || fail "bad row: $(wc -l <"$work/out.txt") lines"
grep -q "'y' is not a valid integer value" "$work/err.txt" || fail "bad row: no message"
[ "$json_status" = 1 ] || fail "bad row --json: status $json_status"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert "not a valid integer" in d["error"], d' \
  "$work/failed.json" || fail "bad row --json: no JSON with the error"
# The window without a display: what is needed and the way to the report.
for display in "" ":77"; do
  set +e
  DISPLAY=$display "$exe" >"$work/out.txt" 2>"$work/err.txt"
  status=$?
  set -e
  [ "$status" = 1 ] || fail "window with DISPLAY='$display': status $status"
  grep -q "needs a display" "$work/err.txt" && grep -q "quorvix --report" "$work/err.txt" ||
    fail "window with DISPLAY='$display': $(cat "$work/err.txt")"
done

# Qt's own options are taken, not refused: with one the program still opens
# its window (here: finds no display), and the report hands them to Qt.
set +e
DISPLAY= "$exe" -style Fusion -reverse >"$work/out.txt" 2>"$work/err.txt"
status=$?
set -e
[ "$status" = 1 ] && grep -q "needs a display" "$work/err.txt" ||
  fail "-style Fusion -reverse: status $status: $(cat "$work/err.txt")"

# Qt's own messages keep off stderr: an su, cron or chroot run has no
# XDG_RUNTIME_DIR, which Qt would complain of. --verbose shows them.
env -u XDG_RUNTIME_DIR "$exe" --report --tests memory --no-context -platform offscreen \
  -style Fusion >"$work/out.txt" 2>"$work/err.txt" || fail "Qt's options: status $?"
[ -s "$work/err.txt" ] && fail "Qt's messages on stderr: $(cat "$work/err.txt")"
grep -qx "Memory : [1-9][0-9]* (Mb/sec)" "$work/out.txt" || fail "Qt's options: $(cat "$work/out.txt")"
env -u XDG_RUNTIME_DIR "$exe" --report --tests memory --no-context --verbose >/dev/null \
  2>"$work/err.txt" || fail "--verbose: status $?"
grep -q "^Qt: .*XDG_RUNTIME_DIR" "$work/err.txt" || fail "--verbose: $(cat "$work/err.txt")"

# Output that standard output does not take is a failure: a full device, a
# closed descriptor.
cp "$2" "$work/base.ini"
expect_lost_output() {
  local what=$1 status
  shift
  set +e
  "$@" 2>"$work/err.txt"
  status=$?
  set -e
  [ "$status" = 1 ] || fail "$what: status $status"
  grep -q "^Cannot write to standard output" "$work/err.txt" || fail "$what: $(cat "$work/err.txt")"
}
expect_lost_output "--version >/dev/full" "$exe" --version >/dev/full
expect_lost_output "--help >&-" "$exe" --help >&-
expect_lost_output "--report --ini >/dev/full" "$exe" --report --ini >/dev/full

# An --output name that is not UTF-8 is saved under its own bytes.
name=$work/log$'\xe9'.txt
"$exe" --report --output "$name" >/dev/null 2>&1 || fail "--output with a Latin-1 name: status $?"
[ -f "$name" ] || fail "--output with a Latin-1 name: saved as $(ls "$work")"
# A saved result becomes reference rows in the database named, once; a
# foreign file or a FIFO is refused by name and changes nothing.
refs=$work/refs.ini
cp "$2" "$refs"
"$exe" --report --json --tests memory --no-context --anonymous --output "$work/run.log" \
  >"$work/anon.json" 2>/dev/null || fail "--anonymous: status $?"
grep -q '"anonymous": true' "$work/anon.json" || fail "--anonymous: not marked"
grep -q "$(hostname)" "$work/anon.json" "$work/run.log" && fail "--anonymous: the host name shows"
"$exe" --add-reference --database "$refs" "$work/anon.json" >"$work/out.txt" 2>"$work/err.txt" ||
  fail "--add-reference: status $?: $(cat "$work/err.txt")"
grep -q "^added \[Memory\] " "$work/out.txt" || fail "--add-reference: $(cat "$work/out.txt")"
grep -q "^PIIFreq=" "$refs" || fail "--add-reference: DATA lost"
"$exe" --add-reference --database "$refs" "$work/anon.json" >"$work/out.txt" ||
  fail "--add-reference again: status $?"
grep -q "^0 rows added to .*, 1 skipped$" "$work/out.txt" || fail "again: $(cat "$work/out.txt")"
cp "$refs" "$work/refs.before"
mkfifo "$work/fifo"
echo '{"name": "not a result"}' >"$work/foreign.json"
for given in "$work/fifo" "$work/foreign.json"; do
  set +e
  timeout 20 "$exe" --add-reference --database "$refs" "$work/anon.json" "$given" \
    >/dev/null 2>"$work/err.txt"
  status=$?
  set -e
  [ "$status" = 2 ] && grep -q "^$given: " "$work/err.txt" ||
    fail "--add-reference $given: status $status: $(cat "$work/err.txt")"
  cmp -s "$refs" "$work/refs.before" || fail "--add-reference $given: the database changed"
done
# A database that is not there is named with status 2, and not created.
set +e
"$exe" --add-reference --database "$work/none.ini" "$work/anon.json" >/dev/null 2>"$work/err.txt"
status=$?
set -e
[ "$status" = 2 ] && grep -q "^$work/none.ini: the database does not exist" "$work/err.txt" ||
  fail "--add-reference to a missing database: status $status: $(cat "$work/err.txt")"
[ -e "$work/none.ini" ] && fail "--add-reference to a missing database: it was created"
echo "report_cli: ok"
