#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The texts of the results log: headings, labels and result lines. Every
// value is printed as "%u" prints it: the 32-bit pattern read as unsigned, so
// a negative value shows as 2^32 plus the value.
namespace report {

inline const QString InitialLogText = QStringLiteral("Press Start ...");
inline const QString ClosingHeading = QStringLiteral("- All tests completed -------------------");

// The ten overview fields in the order the log lists them.
struct OverviewTexts
{
    QString processor;    // Edit1
    QString memory;       // Edit2
    QString video;        // Edit3
    QString monitor;      // Edit8
    QString hdd;          // Edit4
    QString cdrom;        // Edit9
    QString mouse;        // Edit10
    QString os;           // Edit5
    QString computerName; // Edit6
    QString userName;     // Edit7

    bool operator==(const OverviewTexts&) const = default;
};

QString UnsignedText(std::int32_t value);

// "Test results", an empty line, the overview heading, an empty line.
QStringList OpeningLines();
// One line per field: its 12-character label and the text as it stands.
QStringList OverviewLines(const OverviewTexts& texts);
// An empty line, the performance heading, an empty line.
QStringList PerformanceHeadingLines();
QString CpuLine(std::int32_t score, std::int32_t passes);
QString FpuLine(std::int32_t score, std::int32_t passes);
QString MemoryLine(std::int32_t mebibytesPerSecond);
QString VideoLine(std::int32_t mebibytesPerSecond);
// The drive list's entry text, then " : <value> (KB/sec)".
QString DriveLine(const QString& entry, std::int32_t kilobytesPerSecond);
// An empty line and the closing heading.
QStringList ClosingLines();

} // namespace report
