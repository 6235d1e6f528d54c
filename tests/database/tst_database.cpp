// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"
#include "tst_fields.h"
#include "tst_reading.h"
#include "tst_replacelists.h"
#include "tst_robustness.h"
#include "tst_writing.h"

QUORVIX_TEST_MAIN(TestFields, TestReading, TestWriting, TestReplaceLists, TestRobustness)
