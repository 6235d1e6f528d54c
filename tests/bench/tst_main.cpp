// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "tst_disk.h"
#include "tst_drivecontext.h"
#include "tst_insight.h"
#include "tst_kernels.h"
#include "tst_memory.h"
#include "tst_pages.h"
#include "tst_scores.h"
#include "tst_video.h"

QUORVIX_TEST_MAIN(TestScores, TestTimedWindow, TestKernels, TestBenchmarkPages, TestDiskKernel,
                  TestDiskPage, TestMemoryKernels, TestMemoryPage, TestVideoKernel, TestVideoPage,
                  TestInsightKernels, TestDriveContext)
