// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/ComparisonDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// base.ini in `directory` with exactly `contents`.
inline ComparisonDatabase DatabaseWith(const QTemporaryDir& directory, const QByteArray& contents)
{
    const QString path = directory.filePath("base.ini");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
    return ComparisonDatabase(path);
}
