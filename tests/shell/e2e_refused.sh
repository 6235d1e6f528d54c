#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e_refused.sh <quorvix executable> <work directory>
# Run inside an X server of its own (with-xvfb.sh). A display that answers
# the program's own check and then refuses Qt's connection: a socket that
# hands its first connection on to the real server and closes every later
# one at once. The window and the report each end with status 1 and the
# program's message, not with Qt's abort.
set -euo pipefail
exe=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export LIBGL_ALWAYS_SOFTWARE=1

fail() {
  echo "e2e_refused: $*"
  [ -s "$out/err.txt" ] && { echo "--- stderr"; cat "$out/err.txt"; }
  exit 1
}

server_socket="/tmp/.X11-unix/X${DISPLAY#:}"
[ -S "$server_socket" ] || fail "no socket for DISPLAY=$DISPLAY"

# A free display number, held by its lock file as an X server holds it.
number=""
for n in $(seq 200 299); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] &&
    (set -o noclobber; printf '%10d\n' $$ >"/tmp/.X$n-lock") 2>/dev/null; then
    number=$n
    break
  fi
done
[ -n "$number" ] || fail "no free display number"
proxy=""
trap 'kill $proxy 2>/dev/null || true; rm -f "/tmp/.X$number-lock" "/tmp/.X11-unix/X$number"' EXIT

# refusing_display: serves the first connection through to the real server.
start_refusing_display() {
  rm -f "/tmp/.X11-unix/X$number"
  python3 - "/tmp/.X11-unix/X$number" "$server_socket" >"$out/proxy.log" 2>&1 <<'PY' &
import os, socket, sys, threading

listen_path, server_path = sys.argv[1], sys.argv[2]
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(listen_path)
listener.listen(8)
print("ready", flush=True)

def pump(source, target):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    for s in (source, target):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

served = 0
while True:
    client, _ = listener.accept()
    served += 1
    if served > 1:
        # Said before the close: the program ends on it, and the proxy with it.
        print("refused", served, flush=True)
        client.close()
        continue
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.connect(server_path)
    for a, b in ((client, server), (server, client)):
        threading.Thread(target=pump, args=(a, b), daemon=True).start()
PY
  proxy=$!
  for _ in $(seq 1 600); do
    grep -q ready "$out/proxy.log" 2>/dev/null && return 0
    kill -0 "$proxy" 2>/dev/null || fail "the refusing display did not start: $(cat "$out/proxy.log")"
    sleep 0.1
  done
  fail "the refusing display did not start"
}

# run_refused NAME MESSAGE ARGS...: status 1, MESSAGE on stderr, after Qt's
# own connection was refused.
run_refused() {
  local name=$1 message=$2
  shift 2
  start_refusing_display
  set +e
  DISPLAY=":$number" timeout 120 "$exe" "$@" >"$out/out.txt" 2>"$out/err.txt"
  local status=$?
  set -e
  kill "$proxy" 2>/dev/null || true
  wait "$proxy" 2>/dev/null || true
  grep -q "^refused 2" "$out/proxy.log" || fail "$name: Qt's connection was not the refused one"
  [ "$status" = 1 ] || fail "$name: status $status, not 1"
  grep -qF "$message" "$out/err.txt" || fail "$name: no message \"$message\""
  grep -qiE "abort|core dumped" "$out/err.txt" && fail "$name: aborted"
  echo "e2e_refused: $name: status 1, \"$message\""
}

run_refused window "Quorvix 2000 needs a display for its window: Qt could not connect to it"
run_refused report "Quorvix 2000 could not open the display for the video test" --report --json
