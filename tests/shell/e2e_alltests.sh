#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e_alltests.sh <quorvix executable> <output directory>
# The real program on a virtual X server with its real benchmarks: presses
# Ctrl+F, then saves the log with "&Save" (Alt+S) through the save dialog,
# and checks the saved log ends with the closing line. Keys are pressed only
# once the run is over (the program uses no processor time), since a key
# pressed meanwhile would reach the window in the middle of the run.
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out"

export QT_QPA_PLATFORM=xcb
export E2E_EXE=$exe E2E_OUT=$out
bash "$(dirname "$0")/../common/with-xvfb.sh" bash -c '
  set -u
  cd "$E2E_OUT"
  "$E2E_EXE" >"$E2E_OUT/program.log" 2>&1 &
  pid=$!
  id=""
  for _ in $(seq 1 600); do
    id=$(xwininfo -root -tree | awk "/\"Quorvix 2000\"/ && / 595x/ {print \$1; exit}")
    [ -n "$id" ] && break
    kill -0 $pid 2>/dev/null || { echo "e2e: the program ended early"; cat "$E2E_OUT/program.log"; exit 1; }
    sleep 0.2
  done
  [ -n "$id" ] || { echo "e2e: no window"; kill $pid; exit 1; }
  # The first overview measures the clock for about a second; wait until the
  # window shows the overview panel (dark grey, 96, 96, 96).
  overview() {
    xwd -id "$id" -silent >frame.xwd 2>/dev/null || return 1
    [ "$(convert frame.xwd -fill black +opaque "rgb(96,96,96)" -fill white -opaque "rgb(96,96,96)" \
         -format "%[fx:round(mean*w*h)]" info: 2>/dev/null || echo 0)" -gt 40000 ]
  }
  for _ in $(seq 1 1200); do overview && break; sleep 0.1; done
  overview || { echo "e2e: the overview never showed"; kill $pid; exit 1; }
  # waitfor SECONDS COMMAND...: polls COMMAND until it succeeds.
  waitfor() {
    local end=$((SECONDS + $1)); shift
    until "$@"; do
      [ $SECONDS -lt $end ] || return 1
      sleep 0.1
    done
  }
  # The program has used no processor time for two seconds: the run is over.
  # The longest sleep inside a run is the one-second clock measurement, and
  # the processor window right after it keeps the processor busy.
  cputime() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
  idle() {
    local before; before=$(cputime); sleep 2
    [ "$(cputime)" = "$before" ]
  }
  dialog() { xwininfo -root -tree | grep -q "Сохранить результаты"; }
  closing="- All tests completed -------------------"
  file="$E2E_OUT/log.txt"
  saved() { [ -f "$file" ] && [ "$(tail -n 1 "$file" | tr -d "\r")" = "$closing" ]; }

  xdotool windowfocus --sync "$id"
  xdotool key ctrl+f
  waitfor 300 idle || { echo "e2e: the run never ended"; kill $pid; exit 1; }
  kill -0 $pid 2>/dev/null || { echo "e2e: the program ended"; cat "$E2E_OUT/program.log"; exit 1; }
  xdotool windowfocus --sync "$id"
  xdotool key alt+s
  waitfor 120 dialog || { echo "e2e: no save dialog"; kill $pid; exit 1; }
  waitfor 120 idle
  xdotool key ctrl+a
  xdotool type --delay 5 "$E2E_OUT/log"
  xdotool key Return
  waitfor 120 saved || { echo "e2e: no whole log saved"; ls -la "$E2E_OUT"; kill $pid; exit 1; }
  echo "e2e: whole log saved as $file"
  kill $pid; wait $pid || true
  exit 0
'
log="$out/log.txt"
# CR LF after every line, no byte-order mark, 23 + n lines.
head -c 12 "$log" | grep -q "^Test results" || { echo "e2e: log does not start with Test results"; exit 1; }
lines=$(wc -l <"$log")
crlf=$(grep -c $'\r$' "$log")
[ "$lines" = "$crlf" ] || { echo "e2e: $crlf of $lines lines end in CR LF"; exit 1; }
[ "$lines" -ge 23 ] || { echo "e2e: $lines lines"; exit 1; }
grep -a "^CPU : " "$log"
echo "e2e: $lines lines"
