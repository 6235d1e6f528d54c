#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# with-xvfb.sh [-s 'server options'] command...
# Runs the command on a virtual X server of its own. The server picks a free
# display itself (-displayfd), so concurrent runs never race for a number,
# as xvfb-run -a can.
set -euo pipefail
server_options='-screen 0 1024x768x24'
if [ "${1:-}" = "-s" ]; then server_options=$2; shift 2; fi
fifo=$(mktemp -u)
mkfifo "$fifo"
# shellcheck disable=SC2086
Xvfb -displayfd 3 -nolisten tcp -ac $server_options 3>"$fifo" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$fifo"' EXIT
# The server writes its display number once it accepts connections.
read -r -t 120 number <"$fifo" || { echo "with-xvfb: the X server did not start" >&2; exit 1; }
export DISPLAY=":$number"
# ...and the command starts only once a client has really been served.
for _ in $(seq 1 1200); do
  xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$server" 2>/dev/null || { echo "with-xvfb: the X server ended" >&2; exit 1; }
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "with-xvfb: the X server answers no client" >&2; exit 1; }
"$@"
