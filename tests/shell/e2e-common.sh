# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end scripts inside their X server: polling, failure
# reports, pixel counts, the window manager and the program's main window.
# Expects E2E_NAME, E2E_EXE and E2E_OUT.
limit=120 # seconds for any one wait: a hang, not a slow machine

fail() {
  echo "$E2E_NAME: $* (after ${SECONDS} s)"
  [ -n "${id:-}" ] && xwininfo -id "$id" 2>&1 | grep -E "Map State|geometry"
  [ -n "${id:-}" ] && xprop -id "$id" WM_STATE WM_HINTS _NET_WM_STATE 2>&1
  # What the program and the window manager were doing when the wait ran out.
  local p
  for p in ${pid:-} $(pgrep -x openbox); do
    echo "--- process $p: $(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null)"
    for t in /proc/"$p"/task/*; do
      echo "  $(cat "$t/comm" 2>/dev/null) $(awk '/^State/ {print $2}' "$t/status" 2>/dev/null) $(cat "$t/wchan" 2>/dev/null)"
    done
  done
  echo "--- windows"
  xwininfo -root -tree 2>&1 | grep -v "has no name" | head -40
  for log in program openbox; do
    [ -s "$E2E_OUT/$log.log" ] && { echo "--- $log.log"; cat "$E2E_OUT/$log.log"; }
  done
  exit 1
}

# waitfor DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
waitfor() {
  local what=$1 end=$((SECONDS + limit))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

# Pixels of one exact colour (or near it, with a fuzz) in an image.
count() {
  convert "$1" ${3:+-fuzz $3} -fill black +opaque "$2" -fill white -opaque "$2" \
    -format "%[fx:round(mean*w*h)]" info: 2>/dev/null || echo 0
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# Started again if it gives up at once (it has been seen to find no display
# on a loaded machine although the server answered).
start_openbox() {
  local wm
  for _ in 1 2 3 4 5; do
    openbox >"$E2E_OUT/openbox.log" 2>&1 &
    wm=$!
    local end=$((SECONDS + limit))
    until wm_running; do
      kill -0 "$wm" 2>/dev/null || break
      [ $SECONDS -lt $end ] || fail "timed out waiting for the window manager"
      sleep 0.05
    done
    wm_running && return 0
    sleep 0.5
  done
  fail "the window manager did not start"
}

# Starts the program and waits for its main window, found by _NET_WM_PID:
# sets pid and id.
start_program() {
  "$E2E_EXE" >"$E2E_OUT/program.log" 2>&1 &
  pid=$!
  waitfor "the main window" find_main
}

find_main() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended early"
  for id in $(xwininfo -root -tree | awk '/"Quorvix 2000"/ && / 595x/ {print $1}'); do
    xprop -id "$id" _NET_WM_PID | grep -q "= $pid\$" && return 0
  done
  id=""
  return 1
}

# Waits until the main window shows the overview panel (dark grey), which it
# does once the first activation is done; leaves the frame in frame.xwd.
wait_for_overview() {
  overview_shown() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended early"
    xwd -id "$id" -silent >frame.xwd 2>/dev/null && [ "$(count frame.xwd "rgb(96,96,96)")" -gt 40000 ]
  }
  waitfor "the overview" overview_shown
}
