// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceDescriptions.h"

#include "OneLineText.h"
#include "platform/Devices.h"

namespace sysinfo {
namespace {

QStringList toQt(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        list.append(OneLineText(QString::fromStdString(text)));
    return list;
}

std::vector<std::string> displayAdapters(const DeviceSources& sources)
{
    if (sources.hardwareNames)
        return platform::ListDisplayAdapters(sources.root, sources.hardwareNames);
    return platform::ListDisplayAdapters(sources.root);
}

} // namespace

QStringList GetDeviceDescriptions(const QString& className, const DeviceSources& sources)
{
    const QString wanted = className.toUpper();
    if (wanted == QLatin1String("DISPLAY"))
        return toQt(displayAdapters(sources));
    if (wanted == QLatin1String("MONITOR"))
        return toQt(platform::ListMonitors(sources.root));
    if (wanted == QLatin1String("CDROM"))
        return toQt(platform::ListCdromDrives(sources.root));
    if (wanted == QLatin1String("MOUSE"))
        return toQt(platform::ListPointingDevices(sources.root));
    return {};
}

QString JoinDescriptions(const QStringList& descriptions)
{
    return descriptions.join(QStringLiteral(", "));
}

} // namespace sysinfo
