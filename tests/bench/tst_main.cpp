#include "TestMain.h"

#include "tst_kernels.h"
#include "tst_scores.h"

#if defined(QUORVIX_BENCH_PAGE_TESTS)
#include "tst_pages.h"
QUORVIX_TEST_MAIN(TestScores, TestTimedWindow, TestKernels, TestProcessorPage)
#else
QUORVIX_TEST_MAIN(TestScores, TestTimedWindow, TestKernels)
#endif
