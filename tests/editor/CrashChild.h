// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/EditorRows.h"

#include <QByteArray>

// The crash test's child: writes two sets of lists into the base.ini it is
// given, in turn, until it is killed.
inline constexpr char CrashChildOption[] = "--crash-child";
int RunCrashChild(int argc, char** argv);

// Set 0 or 1 of the lists the child writes: a few hundred rows each.
EditorLists CrashLists(int set);
