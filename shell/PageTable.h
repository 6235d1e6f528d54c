// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

class QAction;
class QPushButton;
class QToolButton;
class TForm1;
class TMyChart;

struct Form1Ui;

// One page of the "Benchmarks" tab, by its index there.
struct PageEntry
{
    QToolButton* toolButton;
    QAction* menuItem;
    int toolImage;                // index of the tool-bar picture
    TMyChart* chart;              // null on the All tests page
    QPushButton* defaultButton;   // what Enter presses while the page is shown
    void (TForm1::*command)();    // tool button and menu item
    void (TForm1::*refresh)();    // the page's Refresh (Start) button
    void (TForm1::*firstVisit)(); // run when the user opens the page and it has no result yet
};

using PageTable = std::array<PageEntry, 5>;

// The five pages: processor, memory, video, HDD, all tests.
PageTable MakePageTable(const Form1Ui& ui);
