// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "tst_session.h"

QUORVIX_TEST_MAIN(TestResultsLog, TestFullRun, TestSaveLog)
