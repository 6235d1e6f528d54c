// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/Unit3.h"

class TForm1;

// What the Database window takes from the main window and the application.
TForm3Services EditorServices(TForm1& form);
