// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTests.h"
#include "TestMain.h"

QUORVIX_TEST_MAIN(ChartGeometryTest, ChartRenderTest, MyChartTest, ResourceImageTest, BusyTest)
