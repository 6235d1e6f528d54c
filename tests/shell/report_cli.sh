#!/usr/bin/env bash
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

# The text log: 23 + n lines ending with the closing line, LF only.
"$exe" --report >"$work/log.txt" 2>/dev/null || fail "--report: status $?"
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
echo "report_cli: ok"
