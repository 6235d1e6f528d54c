// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"
#include "editor/Unit3.h"
#include "editor/Unit4.h"

#include <QIcon>

#include <memory>

// The five windows of the program, alive from start to end.
struct TForms
{
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
};

// The application icon: the installed theme icon of the desktop entry, else
// the same pictures from the program's resources.
QIcon ApplicationIcon();

// The windows in two steps: Form1 alone, hidden, whose pages and FormCreate
// follow once its splash is painted, then the other four beside it.
TForms CreateMainForm(TForm1Services services = {});

// Makes the other four windows, gives every window the theme's icon, and
// registers the log's font, once Form1's
// splash is on the screen, before its first activation; `forms` must outlive
// Form1's first activation.
void CreateOtherFormsAfterSplash(TForms& forms);

// Program start: fonts, the windows, Form1 shown, the message loop until
// Form1 closes. With arguments, the command line instead (help, version, the
// report without the window). Returns the exit code.
int RunProgram(int argc, char** argv);
