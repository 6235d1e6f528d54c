// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "tst_report.h"

QUORVIX_TEST_MAIN(TestResultsLog, TestFullRun, TestStatistics, TestSaveLog, TestCommandLine,
                  TestReportRun, TestComparison, TestCompareCommand, TestInsight, TestKeptResults)
