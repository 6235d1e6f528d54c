// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ResultsLog.h"

#include <array>
#include <utility>

namespace report {

QString UnsignedText(std::int32_t value)
{
    return QString::number(static_cast<std::uint32_t>(value));
}

QStringList OpeningLines()
{
    return {QStringLiteral("Test results"), QString(),
            QStringLiteral("- System overview ---------------------"), QString()};
}

QStringList OverviewLines(const sysinfo::OverviewFields& texts)
{
    // The OS label begins with the Cyrillic capital letter O (U+041E), then a
    // Latin S: the log has always been written so, and it stays so.
    const QString os = texts.os.value_or(QString());
    const std::array<std::pair<QString, const QString*>, 10> rows{{
        {QStringLiteral("Processor : "), &texts.processor},
        {QStringLiteral("Memory    : "), &texts.memory},
        {QStringLiteral("Video     : "), &texts.display},
        {QStringLiteral("Monitor   : "), &texts.monitor},
        {QStringLiteral("HDD       : "), &texts.hdd},
        {QStringLiteral("CD-ROM    : "), &texts.cdrom},
        {QStringLiteral("Mouse     : "), &texts.mouse},
        {QString(QChar(0x041E)) + QStringLiteral("S        : "), &os},
        {QStringLiteral("Comp name : "), &texts.computerName},
        {QStringLiteral("User name : "), &texts.userName},
    }};
    QStringList lines;
    for (const auto& [label, text] : rows)
        lines << label + *text;
    return lines;
}

QStringList PerformanceHeadingLines()
{
    return {QString(), QStringLiteral("- Performance -------------------------"), QString()};
}

QString CpuLine(std::int32_t score, std::int32_t passes)
{
    return QStringLiteral("CPU : %1 (%2)").arg(UnsignedText(score), UnsignedText(passes));
}

QString FpuLine(std::int32_t score, std::int32_t passes)
{
    return QStringLiteral("FPU : %1 (%2)").arg(UnsignedText(score), UnsignedText(passes));
}

QString MemoryLine(std::int32_t mebibytesPerSecond)
{
    return QStringLiteral("Memory : %1 (Mb/sec)").arg(UnsignedText(mebibytesPerSecond));
}

QString VideoLine(std::int32_t mebibytesPerSecond, bool backingStore)
{
    const QString line =
        QStringLiteral("Video : %1 (Mb/sec)").arg(UnsignedText(mebibytesPerSecond));
    return backingStore ? line + QStringLiteral(" - ") + BackingStoreNote : line;
}

QString DriveLine(const QString& entry, std::int32_t kilobytesPerSecond)
{
    // Appended, not formatted: a '%' in a mount point stays as it is.
    return entry + QStringLiteral(" : ") + UnsignedText(kilobytesPerSecond) +
           QStringLiteral(" (KB/sec)");
}

QStringList ClosingLines()
{
    return {QString(), ClosingHeading};
}

} // namespace report
