#include "ControlsTests.h"
#include "TestMain.h"

QUORVIX_TEST_MAIN(ChartGeometryTest, ChartRenderTest, MyChartTest, ResourceImageTest, BusyTest)
