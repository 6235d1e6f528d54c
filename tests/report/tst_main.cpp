// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "tst_report.h"

QUORVIX_TEST_MAIN(TestCommandLine, TestReportRun, TestCompareCommand, TestInsight, TestHeadlessView,
                  TestAddReference, TestKeptResults)
