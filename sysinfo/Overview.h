#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sysinfo {

// The nine field texts of one overview probe pass, gathered in the order the
// main window fills them. `os` is empty when the version cannot be read, so
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
};

// The fixed drives, gathered once at start: one "Drive <name>" item per drive
// for the HDD page's list, and the text of the "HDD's" field.
struct FixedDriveListing
{
    QStringList items;
    QString sizes;
};

// One probe pass; measures the processor clock, so it takes about a second.
OverviewFields GatherOverview();

FixedDriveListing ListFixedDrives();

} // namespace sysinfo
