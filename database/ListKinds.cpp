// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ListKinds.h"

#include "database/ValueText.h"

#include <array>

const ListShape& ShapeOf(ListKind kind)
{
    static const std::array<ListShape, ListKindCount> shapes{{
        {QStringLiteral("Processor"), 2, QStringLiteral("CPU"), QStringLiteral("FPU")},
        {QStringLiteral("Memory"), 1, QStringLiteral("Mb/s"), QString()},
        {QStringLiteral("Video"), 1, QStringLiteral("Mb/s"), QString()},
        {QStringLiteral("Drive"), 1, QStringLiteral("Kb/s"), QString()},
    }};
    return shapes.at(kind);
}

bool HasTwoValues(ListKind kind)
{
    return ShapeOf(kind).valueCount == 2;
}

QString OwnRowDescription(ListKind kind, const QString& overviewText)
{
    if (kind != lkMemory)
        return overviewText;
    return QStringLiteral("Ваши ") + ExtractField(overviewText, 0) + QStringLiteral(" Mb");
}

QString RowValue(ListKind kind, const QString& first, const QString& second)
{
    return HasTwoValues(kind) ? first + u',' + second : first;
}
