// The test surface on a real X server: run by CTest under xvfb-run.
#include "TestMain.h"

#include "tst_videosurface.h"

QUORVIX_TEST_MAIN(TestVideoSurface)
