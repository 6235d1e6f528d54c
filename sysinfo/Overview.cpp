#include "Overview.h"

namespace sysinfo {

// Placeholder until the probes land: every field empty, no drives.
OverviewFields GatherOverview()
{
    return {};
}

FixedDriveListing ListFixedDrives()
{
    return {};
}

} // namespace sysinfo
