// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HardwareDatabase.h"

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Each reader lists the descriptions of one class of device from the sysfs
// tree under <root>/sys, in natural order of the sysfs names, duplicates kept.

// PCI functions of base class 0x03 (display controllers), named by the
// hardware database as vendor and model, else by their "vvvv:dddd" ids.
std::vector<std::string> ListDisplayAdapters(const std::filesystem::path& root,
                                             const HardwareNameLookup& lookup);

// The same, asking the udev hardware database of this machine.
std::vector<std::string> ListDisplayAdapters(const std::filesystem::path& root);

// Connected DRM connectors whose EDID yields a name.
std::vector<std::string> ListMonitors(const std::filesystem::path& root);

// SCSI CD-ROM drives (sr*): vendor and model, trimmed.
std::vector<std::string> ListCdromDrives(const std::filesystem::path& root);

// Input devices that are mice or touchpads, by their names; those without a
// name are left out.
std::vector<std::string> ListPointingDevices(const std::filesystem::path& root);

} // namespace platform
