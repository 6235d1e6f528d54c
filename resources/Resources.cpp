// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

namespace resources {

QString ToolBarImage(int index)
{
    return QStringLiteral(":/toolbar/%1.png").arg(index);
}

QString IconPath(const QString& name)
{
    return QStringLiteral(":/icons/%1.png").arg(name);
}

} // namespace resources
