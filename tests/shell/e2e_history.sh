#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e_history.sh <quorvix executable> <output directory>
# The real program on a virtual X server under a window manager (openbox):
# the processor page measured twice, each kept with Ctrl+K into a results
# directory of its own; Ctrl+H opens History, whose plots show in the line
# colour, and Ctrl+A in its table chooses both results, which brings the
# comparison's lines beneath it. The window is left in history.png.
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out/data"

export QT_QPA_PLATFORM=xcb XDG_DATA_HOME=$out/data
export E2E_EXE=$exe E2E_OUT=$out E2E_NAME=e2e_history
export E2E_COMMON=$(dirname "$(realpath "$0")")/e2e-common.sh
bash "$(dirname "$0")/../common/with-xvfb.sh" bash -c '
  set -u
  cd "$E2E_OUT"
  source "$E2E_COMMON"
  results=$XDG_DATA_HOME/quorvix/results
  line="rgb(26,79,176)" # the plot line on a light palette

  start_openbox
  start_program
  wait_for_overview

  # No processor time for two seconds: the measurement is over.
  cputime() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
  idle() {
    local before; before=$(cputime); sleep 2
    [ "$(cputime)" = "$before" ]
  }
  kept() { [ "$(ls "$results" 2>/dev/null | grep -c "\.json$")" -eq "$1" ]; }
  for n in 1 2; do
    xdotool windowactivate --sync "$id" || true
    xdotool key --clearmodifiers ctrl+p
    waitfor "the processor page" idle
    xdotool windowactivate --sync "$id" || true
    xdotool key --clearmodifiers ctrl+k
    waitfor "result $n kept" kept $n
  done

  xdotool windowactivate --sync "$id" || true
  xdotool key --clearmodifiers ctrl+h
  history_id() { xwininfo -root -tree | awk "/\"History\"/ {print \$1; exit}"; }
  shown() { [ -n "$(history_id)" ]; }
  waitfor "the History window" shown
  hid=$(history_id)
  plotted() {
    xwd -id "$hid" -silent >history.xwd 2>/dev/null && [ "$(count history.xwd "$line")" -gt 50 ]
  }
  waitfor "plot lines in $line" plotted
  # How light the lower third is, in thousandths: the text beneath the
  # table darkens it.
  light() {
    convert history.xwd -gravity South -crop 100%x35%+0+0 +repage -colorspace Gray \
      -format "%[fx:round(mean*1000)]" info: 2>/dev/null || echo 0
  }
  before=$(light)
  xdotool windowactivate --sync "$hid" || true
  xdotool key --clearmodifiers ctrl+a
  compared() {
    xwd -id "$hid" -silent >history.xwd 2>/dev/null && [ "$(light)" -lt $((before - 15)) ]
  }
  waitfor "the comparison beneath the table" compared
  convert history.xwd history.png 2>/dev/null || true
  echo "e2e_history: two results kept, plotted and compared"
  kill $pid; wait $pid || true
'
