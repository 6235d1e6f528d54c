// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Routes Qt's own messages ("QStandardPaths: XDG_RUNTIME_DIR not set ...",
// which su, cron and chroot runs all provoke) through the program: on stderr
// as "Qt: <message>" only when `shown`, so that a report keeps stderr quiet;
// a fatal message always.
void RouteQtMessages(bool shown);
