// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui_Unit1.h"
#include "ui_Unit1Pages.h"

// The main window's controls in one place: the frame (menu, tool bar, status
// bar, splash and the empty content panel) and the pages inside that panel.
// Made zeroed; the pages' pointers are null until the pages are built.
struct Form1Ui : Ui::TForm1, Ui::TForm1Pages
{
};
