// SPDX-License-Identifier: GPL-3.0-or-later
// The test surface on a real X server: run by CTest on Xvfb.
#include "TestMain.h"

#include "tst_videosurface.h"

QUORVIX_TEST_MAIN(TestVideoSurface)
