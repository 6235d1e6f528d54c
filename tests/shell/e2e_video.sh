#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e_video.sh <quorvix executable> <output directory>
# The video benchmark of the real program on a virtual X server (depth 24)
# under a window manager (openbox): Ctrl+V in the main window shows the video
# page, fills the screen through the X server and puts the result into the
# chart's own bar. The database beside the program holds one reference row
# of 1 MiB/s, so a measured bar is a long red bar, and an own bar of 0 leaves
# the chart to the green reference bar alone.
# Checks: the own bar is drawn (red, right of the background picture), the
# test surface is hidden again, and the program still runs.
# Screenshots: video.png (the main window), screen.png (the whole screen).
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out/bin"
# base.ini is read beside the executable: a copy runs with the test's own.
cp "$exe" "$out/bin/quorvix"
printf '[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Video]\nSlow card=1\n' \
  >"$out/bin/base.ini"

export QT_QPA_PLATFORM=xcb
export E2E_EXE=$out/bin/quorvix E2E_OUT=$out E2E_NAME=e2e_video
export E2E_COMMON=$(dirname "$(realpath "$0")")/e2e-common.sh
bash "$(dirname "$0")/../common/with-xvfb.sh" bash -c '
  set -u
  cd "$E2E_OUT"
  source "$E2E_COMMON"
  alive() { kill -0 $pid 2>/dev/null || fail "the program ended"; }

  start_openbox
  start_program
  wait_for_overview
  echo "e2e_video: window $id shows the overview"

  xdotool windowactivate --sync "$id" || true
  xdotool key --clearmodifiers ctrl+v

  # The chart lies right of the background picture and below the tool bar,
  # both of which have red in them. The own bar fades from (100, 0, 0) to
  # (255, 0, 0); at full width it covers over 20000 pixels, the chart without
  # it under 1000 near that red.
  measured() {
    alive
    xwd -id "$id" -silent >frame.xwd 2>/dev/null || return 1
    convert frame.xwd -crop +200+100 +repage chart.png
    red=$(count chart.png "rgb(180,0,0)" 35%)
    [ "$red" -gt 5000 ]
  }
  waitfor "a measured own bar" measured
  echo "e2e_video: own bar drawn ($red red pixels)"
  convert frame.xwd video.png
  import -window root screen.png

  # No window of the program covers the screen any more.
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    size=$(xwininfo -id "$w" | awk "/Width:/ {w=\$2} /Height:/ {h=\$2} END {print w \"x\" h}")
    [ "$size" != 1024x768 ] || fail "the test surface is still shown"
  done
  alive
  grep -i "error" "$E2E_OUT/program.log" && fail "the program reported an error"
  kill $pid
  wait $pid || true
'
for f in video.png screen.png; do
  [ -s "$out/$f" ] || { echo "e2e_video: $f missing"; exit 1; }
done
echo "e2e_video: passed"
