// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HardwareDatabase.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace sysinfo {

// Where device descriptions are read: the sysfs tree under root and the
// hardware database that names PCI devices.
struct DeviceSources
{
    std::filesystem::path root = "/";
    platform::HardwareNameLookup hardwareNames; // empty: this machine's udev hwdb
};

// Descriptions of every device of a class: "Display", "Monitor", "CDROM" or
// "Mouse", matched whole and regardless of case; any other class has none.
QStringList GetDeviceDescriptions(const QString& className, const DeviceSources& sources = {});

// The entries separated by ", ", nothing after the last.
QString JoinDescriptions(const QStringList& descriptions);

} // namespace sysinfo
