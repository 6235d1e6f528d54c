// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoTests.h"
#include "TestMain.h"

QUORVIX_TEST_MAIN(ProcessorNameTest, ProcessorSpeedTest, DeviceDescriptionsTest, OverviewTest)
