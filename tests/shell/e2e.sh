#!/usr/bin/env bash
# e2e.sh <quorvix executable> <output directory>
# Starts the real program on a virtual X server, waits for its main window
# "Quorvix 2000" and its first overview, and takes screenshots of the screen
# and of the window.
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
rm -f "$out"/screen.png "$out"/window.png

# A real X client, whatever the caller's platform setting.
export QT_QPA_PLATFORM=xcb
export E2E_EXE=$exe E2E_OUT=$out
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -u
  cd "$E2E_OUT"
  "$E2E_EXE" >"$E2E_OUT/program.log" 2>&1 &
  pid=$!
  id=""
  for _ in $(seq 1 100); do
    id=$(xwininfo -root -tree | awk "/\"Quorvix 2000\"/ && / 595x/ {print \$1; exit}")
    [ -n "$id" ] && break
    kill -0 $pid 2>/dev/null || { echo "e2e: the program ended early"; cat "$E2E_OUT/program.log"; exit 1; }
    sleep 0.2
  done
  if [ -z "$id" ]; then echo "e2e: no window \"Quorvix 2000\""; kill $pid; exit 1; fi
  echo "e2e: window $id"
  xwininfo -id "$id" | grep -E "Width|Height"
  sleep 3  # the first overview measures the clock for about a second
  import -window root "$E2E_OUT/screen.png"
  import -window "$id" "$E2E_OUT/window.png"
  kill -0 $pid || { echo "e2e: the program ended"; exit 1; }
  kill $pid
  wait $pid || true
'
for f in screen.png window.png; do
  [ -s "$out/$f" ] || { echo "e2e: $f missing"; exit 1; }
done
size=$(identify -format '%wx%h' "$out/window.png")
echo "e2e: window screenshot $size"
[ "$size" != "1x1" ]
