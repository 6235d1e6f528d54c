// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "CrashChild.h"
#include "tst_classes.h"

#include <cstring>

int main(int argc, char** argv)
{
    // The crash test starts this program again to write and be killed.
    if (argc == 3 && std::strcmp(argv[1], CrashChildOption) == 0)
        return RunCrashChild(argc, argv);
    return runTests<TestEditorModel, TestEditorWindow, TestEditorDrop, TestEditorWrite>(argc, argv);
}
