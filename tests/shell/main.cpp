// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's tests run under the program's own application object, so the
// top-level error handler is the real one.
#include "TestMain.h"

#include "shell/Application.h"
#include "shell/Fonts.h"

#include "tst_classes.h"
#include "tst_videosurface.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    SetUpWindowFonts();
    RegisterLogFont();
    int failed = 0;
    failed += runOneTest<TestErrorReport>(argc, argv);
    failed += runOneTest<TestJpeg>(argc, argv);
    failed += runOneTest<TestMainWindow>(argc, argv);
    failed += runOneTest<TestWindows>(argc, argv);
    failed += runOneTest<TestProcessorPage>(argc, argv);
    failed += runOneTest<TestMemoryPage>(argc, argv);
    failed += runOneTest<TestAllTestsPage>(argc, argv);
    failed += runOneTest<TestLook>(argc, argv);
    failed += runOneTest<TestEditorLink>(argc, argv);
    failed += runOneTest<TestHddPage>(argc, argv);
    failed += runOneTest<TestLocations>(argc, argv);
    failed += runOneTest<TestVideoPage>(argc, argv);
    failed += runOneTest<TestVideoSurface>(argc, argv);
    failed += runOneTest<TestDisplayPlan>(argc, argv);
    failed += runOneTest<TestHistoryWindow>(argc, argv);
    return failed;
}
