// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// True when standard error is a terminal (a person watching, not a pipe).
bool StandardErrorIsTerminal();

// Puts /dev/null, opened for reading only, on a standard descriptor (0, 1,
// 2) that is closed: no file opened later takes its number and receives the
// output, and a write to it fails, so output lost is seen as lost.
void ReserveStandardDescriptors();

// True when an X server answers at $DISPLAY.
bool X11DisplayReachable();

} // namespace platform
