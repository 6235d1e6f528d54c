// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Drives.h"
#include "platform/Identity.h"
#include "platform/Memory.h"
#include "sysinfo/DeviceDescriptions.h"
#include "sysinfo/SysInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace sysinfo {

// The overview's field texts: the nine of one probe pass, gathered in the
// order the main window fills them, and the drive sizes, read once at start
// (see FixedDriveListing). `os` is empty when the version cannot be read, so
// the field keeps its text.
struct OverviewFields
{
    QString processor;
    QString memory;
    QString computerName;
    QString userName;
    std::optional<QString> os;
    QString display;
    QString monitor;
    QString cdrom;
    QString mouse;
    QString hdd; // not probed: FixedDriveListing::sizes

    bool operator==(const OverviewFields&) const = default;
};

// The fixed drives, gathered once at start: one "Drive <name>" item per drive
// for the HDD page's list, and the text of the "HDD's" field. The texts show
// control characters of a mount point as octal escapes; `paths` keeps each
// item's mount point as it is, in the bytes the system uses.
struct FixedDriveListing
{
    QStringList items;
    QString sizes;
    QList<QByteArray> paths;
    QStringList filesystems{}; // each item's filesystem type, "ext4"
    // The type of the filesystem at "/": where no drive is listed ("overlay"
    // in a container), it says why.
    QString rootFilesystem{};
};

// One probe pass; measures the processor clock, so it takes about a second.
OverviewFields GatherOverview();

FixedDriveListing ListFixedDrives();

// Everything a probe pass reads, so that tests can replace what this machine
// does not have. The defaults are this machine.
struct OverviewSources
{
    std::filesystem::path root = "/"; // stands for / in /proc, /etc and /sys
    ProcessorSource processor;
    CounterSource counter;
    platform::HardwareNameLookup hardwareNames; // empty: the udev hwdb
    std::function<std::string()> computerName = platform::ComputerName;
    std::function<std::string()> userName = platform::UserName;
    std::function<std::optional<platform::KernelIdentity>()> kernel = platform::ReadKernelIdentity;
};

OverviewFields GatherOverview(const OverviewSources& sources);

using DriveSpaceSource =
    std::function<std::optional<platform::DriveSpace>(const std::string& path)>;

// The listing of the fixed drives under root, sized by the given source.
FixedDriveListing ListFixedDrives(const std::filesystem::path& root, const DriveSpaceSource& space);

// The field texts, each from what its probe returned.
QString ProcessorField(const QString& name, std::uint32_t megahertz);
QString MemoryField(const platform::MemoryStatus& status);
std::optional<QString> OsField(const std::optional<platform::OsVersion>& version);

} // namespace sysinfo
