#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e.sh <quorvix executable> <output directory>
# Starts the real program on a virtual X server under a window manager
# (openbox) and checks what a user sees:
#   1. the first frame shown in the window is the splash panel, not a black
#      window and not the finished overview;
#   2. the splash then gives way to the overview page;
#   3. the about box is a dialog of the main window, without minimise or
#      maximise box: minimising it anyway takes the main window along, and
#      restoring brings both back.
# Every wait polls for the state it needs, up to a generous limit.
# Screenshots: splash.png (first frame), window.png and screen.png (overview).
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.xwd "$out"/*.log

# A real X client, whatever the caller's platform setting.
export QT_QPA_PLATFORM=xcb
export E2E_EXE=$exe E2E_OUT=$out E2E_NAME=e2e E2E_COMMON=$(dirname "$(realpath "$0")")/e2e-common.sh
bash "$(dirname "$0")/../common/with-xvfb.sh" bash -c '
  set -u
  cd "$E2E_OUT"
  source "$E2E_COMMON"
  # What a capture of the main window shows: the splash panel is silver
  # (192, 192, 192), the overview panel dark grey (96, 96, 96).
  state() {
    if [ "$(count "$1" "rgb(192,192,192)")" -gt 40000 ]; then echo splash
    elif [ "$(count "$1" "rgb(96,96,96)")" -gt 40000 ]; then echo overview
    else echo empty; fi
  }
  wmstate() { xprop -id "$1" WM_STATE 2>/dev/null | awk "/window state/ {print \$3}"; }

  start_openbox
  start_program
  echo "e2e: window $id"

  # Capture the window until it shows something; that first frame must be
  # the splash. The probes behind it block for about a second, far longer
  # than one capture takes.
  first=empty
  shown() {
    xwd -id "$id" -silent >frame.xwd 2>/dev/null || return 1
    first=$(state frame.xwd)
    [ "$first" != empty ]
  }
  waitfor "the first frame" shown
  convert frame.xwd splash.png
  echo "e2e: first frame: $first"
  [ "$first" = splash ] || fail "the first frame shows \"$first\", not the splash"

  overview() {
    kill -0 $pid 2>/dev/null || fail "the program ended"
    xwd -id "$id" -silent >frame.xwd 2>/dev/null && [ "$(state frame.xwd)" = overview ]
  }
  waitfor "the overview" overview
  convert frame.xwd window.png
  import -window root screen.png
  # The fields right of the background picture hold yellow text.
  convert window.png -crop +310+0 +repage fields.png
  [ "$(count fields.png "rgb(255,255,0)" 25%)" -gt 200 ] || fail "the overview fields are empty"
  xprop -id "$id" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "the main window can be maximised"

  # The about box: tool button "About ..." at 241, 0 (31 x 30) of the tool
  # bar, which sits 2 px down in the cool bar under the menu bar.
  height=$(xwininfo -id "$id" | awk "/Height:/ {print \$2}")
  menu=$((height - 485))
  xdotool mousemove --window "$id" 256 $((menu + 2 + 15)) click 1
  find_about() {
    about=$(xwininfo -root -tree | awk "/\"About ...\"/ && / 332x186/ {print \$1; exit}")
    [ -n "$about" ] && [ "$(wmstate "$about")" = Normal ]
  }
  waitfor "the about box" find_about
  owner=$(xprop -id "$about" WM_TRANSIENT_FOR | awk "{print \$NF}")
  [ $((owner)) -eq $((id)) ] || fail "the about box is not a dialog of the main window"
  functions=$(xprop -id "$about" _MOTIF_WM_HINTS | awk -F "[=,]" "{print \$3}")
  [ $((functions & 0x18)) -eq 0 ] || fail "the about box asks for minimise or maximise"
  xdotool windowminimize "$about"
  waitfor "the main window minimised with the about box" sh -c "xprop -id $id WM_STATE | grep -q Iconic"
  xdotool windowactivate "$id" || true
  waitfor "both windows restored" \
    sh -c "xprop -id $id WM_STATE | grep -q Normal && xprop -id $about WM_STATE | grep -q Normal"
  echo "e2e: about box minimised and restored with the main window"

  kill -0 $pid || fail "the program ended"
  kill $pid
  wait $pid || true
'
for f in splash.png screen.png window.png; do
  [ -s "$out/$f" ] || { echo "e2e: $f missing"; exit 1; }
done
size=$(identify -format '%wx%h' "$out/window.png")
echo "e2e: window screenshot $size"
[ "$size" != "1x1" ]
