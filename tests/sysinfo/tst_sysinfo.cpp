#include "SysInfoTests.h"
#include "TestMain.h"

QUORVIX_TEST_MAIN(ProcessorNameTest, ProcessorSpeedTest, DeviceDescriptionsTest, OverviewTest)
