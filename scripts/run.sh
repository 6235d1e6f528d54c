#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Quorvix 2000 and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-deps.sh" run
bash "$root/scripts/build.sh" build -DQUORVIX_TESTS=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
Quorvix 2000 is a desktop program and needs a display, but neither DISPLAY nor
WAYLAND_DISPLAY is set. Start it from a desktop session, or run it on a virtual
X server:

  xvfb-run -a -s '-screen 0 1024x768x24' build/shell/quorvix
MSG
  exit 1
fi
cd "$root"
exec "$root/build/shell/quorvix"
