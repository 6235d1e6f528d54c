// SPDX-License-Identifier: GPL-3.0-or-later
#include "Overview.h"

#include "OneLineText.h"
#include "platform/Files.h"

namespace sysinfo {

QString ProcessorField(const QString& name, std::uint32_t megahertz)
{
    // The name is appended to, never used as a format: a brand string may hold '%'.
    return name + QStringLiteral(" %1 MHz").arg(megahertz);
}

QString MemoryField(const platform::MemoryStatus& status)
{
    const quint64 totalMb = (status.totalPhys >> 20) + 1;
    return QStringLiteral("%1 Mb (used %2%)").arg(totalMb).arg(status.memoryLoad);
}

std::optional<QString> OsField(const std::optional<platform::OsVersion>& version)
{
    if (!version)
        return std::nullopt;
    return QString::fromStdString(version->version) + QStringLiteral(" (") +
           QString::fromStdString(version->versionNumber) +
           QString::fromStdString(version->subVersionNumber) + QStringLiteral(")");
}

OverviewFields GatherOverview(const OverviewSources& sources)
{
    OverviewFields fields;
    // Clock first, then the name, as the field is built.
    const std::uint32_t megahertz = GetProcessorSpeed(sources.processor, sources.counter);
    fields.processor = ProcessorField(GetProcessorName(sources.processor), megahertz);
    fields.memory = MemoryField(platform::ReadMemoryStatus(sources.root));
    fields.computerName = OneLineText(QString::fromStdString(sources.computerName()));
    fields.userName = OneLineText(QString::fromStdString(sources.userName()));
    fields.os = OsField(platform::ReadOsVersion(sources.root, sources.kernel()));
    if (fields.os)
        fields.os = OneLineText(*fields.os);
    const DeviceSources devices{sources.root, sources.hardwareNames};
    fields.display = JoinDescriptions(GetDeviceDescriptions(QStringLiteral("Display"), devices));
    fields.monitor = JoinDescriptions(GetDeviceDescriptions(QStringLiteral("Monitor"), devices));
    fields.cdrom = JoinDescriptions(GetDeviceDescriptions(QStringLiteral("CDROM"), devices));
    fields.mouse = JoinDescriptions(GetDeviceDescriptions(QStringLiteral("Mouse"), devices));
    return fields;
}

OverviewFields GatherOverview()
{
    return GatherOverview(OverviewSources{});
}

FixedDriveListing ListFixedDrives(const std::filesystem::path& root, const DriveSpaceSource& space)
{
    FixedDriveListing listing;
    for (const platform::FixedDrive& drive : platform::ListFixedMounts(root)) {
        const QString name = OneLineText(QString::fromStdString(drive.mountPoint));
        listing.items.append(QStringLiteral("Drive ") + name);
        listing.paths.append(QByteArray::fromStdString(drive.mountPoint));
        listing.filesystems.append(QString::fromStdString(drive.fsType));
        // A size that cannot be read shows as 0 Mb; the drive stays listed.
        const auto bytes = space(drive.mountPoint);
        const quint64 megabytes = bytes ? bytes->totalBytes >> 20 : 0;
        listing.sizes += QStringLiteral("Drive %1 (%2 Mb), ").arg(name, QString::number(megabytes));
    }
    if (const auto top = platform::MountHolding(root, "/"))
        listing.rootFilesystem = QString::fromStdString(top->fsType);
    return listing;
}

FixedDriveListing ListFixedDrives()
{
    return ListFixedDrives(platform::SystemRoot(), platform::QueryDriveSpace);
}

} // namespace sysinfo
