// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ComparisonDatabase.h"

#include <QFile>
#include <QFileInfo>

// Why a file that is there reads as an empty database. Checked by its kind
// first, so that opening never blocks on a FIFO or a device.
QString ComparisonDatabase::ReadProblem() const
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const QString file = info.fileName();
    if (info.isDir())
        return QStringLiteral("%1 cannot be read: it is a directory").arg(file);
    if (!info.isFile())
        return QStringLiteral("%1 cannot be read: it is not a regular file").arg(file);
    QFile in(m_path);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 cannot be read: %2").arg(file, in.errorString());
    const QByteArray start = in.read(2);
    if (start == QByteArray("\xFF\xFE", 2) || start == QByteArray("\xFE\xFF", 2))
        return QStringLiteral("%1 cannot be read: it is UTF-16 text, not UTF-8").arg(file);
    return QString();
}
