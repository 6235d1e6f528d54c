#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# startup-bench.sh <build directory> [runs]
# Start-up of the real program beside a minimal Qt Widgets window, on a
# virtual X server without and with a window manager (openbox). Each run
# starts one program under tools/startup_probe; the two programs alternate.
# Prints medians in milliseconds after exec:
#   minimal first   the minimal window's first frame
#   splash          the program's first frame, which shows the splash
#   clock           the clock measurement (raised scheduling class), start-end
#   overview        the frame that shows the filled overview
# Benchmark only: not run by CTest, and its figures are no pass/fail bound.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "$1")
runs=${2:-15}
export QT_QPA_PLATFORM=xcb BENCH_BUILD=$build BENCH_RUNS=$runs

for wm in none openbox; do
  BENCH_WM=$wm bash "$root/tests/common/with-xvfb.sh" bash -c '
    set -eu
    if [ "$BENCH_WM" = openbox ]; then
      openbox >/dev/null 2>&1 &
      until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.05; done
    fi
    probe=$BENCH_BUILD/tools/startup_probe
    cd "$BENCH_BUILD/shell"  # base.ini beside the executable
    out=$(mktemp)
    for i in $(seq 1 "$BENCH_RUNS"); do
      echo "minimal $("$probe" "$BENCH_BUILD/tools/minimal_window" 2>/dev/null)" >>"$out"
      echo "quorvix $("$probe" ./quorvix 2>/dev/null)" >>"$out"
    done
    # median KIND KEY: median of KEY over the runs of KIND
    median() {
      awk -v kind="$1" -v key="$2" "\$1 == kind { for (i = 2; i <= NF; ++i) {
          split(\$i, kv, \"=\"); if (kv[1] == key) print kv[2] } }" "$out" |
        sort -g | awk "{ v[NR] = \$1 } END { if (NR == 0) print \"-\";
          else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }"
    }
    gap() { # median over runs of KEY2 - KEY1
      awk -v a="$1" -v b="$2" "\$1 == \"quorvix\" { delete m; for (i = 2; i <= NF; ++i) {
          split(\$i, kv, \"=\"); m[kv[1]] = kv[2] } if ((a in m) && (b in m)) print m[b] - m[a] }" "$out" |
        sort -g | awk "{ v[NR] = \$1 } END { if (NR == 0) print \"-\";
          else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }"
    }
    first=$(median minimal first)
    splash=$(median quorvix splash)
    echo "window manager: $BENCH_WM, $BENCH_RUNS runs each, medians in ms after exec"
    echo "  minimal window first frame   $first"
    echo "  splash painted               $splash  ($(awk "BEGIN { printf \"%.2f\", $splash / $first }")x the minimal window)"
    echo "  clock measurement            $(median quorvix raised) - $(median quorvix lowered)"
    echo "  overview painted             $(median quorvix ready)  ($(gap lowered ready) after the clock measurement ends)"
    echo "  splash to clock start        $(gap splash raised)"
    rm -f "$out"
  '
done
