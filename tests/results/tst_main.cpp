// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "tst_results.h"

QUORVIX_TEST_MAIN(TestStatistics, TestComparison)
