// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Application.h"

#include <QString>

#include <memory>

// The application object, or the end of the program. Qt aborts when its
// platform cannot connect to the display, which a server may refuse after
// the program's own check: then `failure` goes to stderr and the program
// ends with status 1, without a core dump.
std::unique_ptr<TApplication> StartApplication(int& argc, char** argv, const QString& failure);

// The display variables that are set, as "DISPLAY=:0, WAYLAND_DISPLAY=..."
// (QT_QPA_PLATFORM among them), for messages.
QString DisplayVariables();
