// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageTable.h"

#include "Unit1.h"
#include "Unit1Ui.h"

PageTable MakePageTable(const Form1Ui& ui)
{
    // The video page's first visit only draws the rows: the full-screen test
    // is not started by looking at the page.
    return {{
        {ui.ToolButton5, ui.N11, 0, ui.MyChart1, ui.Button1, &TForm1::ToolButton5Click,
         &TForm1::Button1Click, &TForm1::Button1Click},
        {ui.ToolButton6, ui.N12, 1, ui.MyChart2, ui.Button3, &TForm1::ToolButton6Click,
         &TForm1::Button3Click, &TForm1::Button3Click},
        {ui.ToolButton7, ui.N13, 2, ui.MyChart4, ui.Button5, &TForm1::ToolButton7Click,
         &TForm1::Button5Click, &TForm1::UpdateVideoChart},
        {ui.ToolButton9, ui.N14, 3, ui.MyChart3, ui.Button4, &TForm1::ToolButton9Click,
         &TForm1::Button4Click, &TForm1::Button4Click},
        {ui.ToolButton2, ui.N10, 7, nullptr, ui.Button2, &TForm1::ToolButton2Click,
         &TForm1::Button2Click, nullptr},
    }};
}
