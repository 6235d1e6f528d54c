#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e_close.sh <quorvix executable> <output directory>
# The real program on a virtual X server under a window manager (openbox):
# Ctrl+F starts All tests, and Alt+F4 right behind it has the window manager
# ask the main window to close. The run holds the thread for seconds, so the
# close reaches the window in one of the run's passes over events. Checks:
# the program ends by itself, with exit status 0 and no error.
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out"

export QT_QPA_PLATFORM=xcb
export E2E_EXE=$exe E2E_OUT=$out E2E_NAME=e2e_close
export E2E_COMMON=$(dirname "$(realpath "$0")")/e2e-common.sh
bash "$(dirname "$0")/../common/with-xvfb.sh" bash -c '
  set -u
  cd "$E2E_OUT"
  source "$E2E_COMMON"

  start_openbox
  start_program
  wait_for_overview

  xdotool windowactivate --sync "$id" || true
  xdotool key --clearmodifiers ctrl+f alt+F4

  # Gone, or a zombie waiting for this shell.
  ended() { [ ! -e /proc/$pid ] || grep -q "^[0-9]* (.*) Z" /proc/$pid/stat; }
  waitfor "the program to end" ended
  status=0
  wait $pid || status=$?
  [ $status -eq 0 ] || fail "exit status $status"
  grep -i "error" "$E2E_OUT/program.log" && fail "the program reported an error"
  echo "e2e_close: the program ended with exit status 0"
'
