// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ComparisonDatabase.h"

#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

#include <system_error>

namespace {

// As the reading of a query: never above this size.
constexpr std::uint64_t kLargestFile = 16 * 1024 * 1024;

// What is wrong with what a read found, as "it is a directory".
QString kindProblem(const QFileInfo& info, const platform::FileContents& contents)
{
    using platform::FileKind;
    if (contents.kind == FileKind::Directory)
        return QStringLiteral("it is a directory");
    if (contents.kind == FileKind::Other)
        return QStringLiteral("it is not a regular file");
    if (contents.outcome == platform::ReadOutcome::TooLarge)
        return QStringLiteral("the file is larger than 16 MB");
    if (contents.error == 0)
        return {};
    const QString reason = QString::fromStdString(std::generic_category().message(contents.error));
    if (info.isSymLink() && contents.kind == FileKind::Missing)
        return QStringLiteral("it is a symbolic link to %1 that cannot be followed (%2)")
            .arg(info.symLinkTarget().isEmpty() ? QStringLiteral("nothing") : info.symLinkTarget(),
                 reason);
    return reason;
}

} // namespace

// Why a file that is there reads as an empty database. Read as a query reads
// it, opened without blocking, so that a FIFO or a device never hangs here.
QString ComparisonDatabase::ReadProblem() const
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const platform::FileContents contents =
        platform::ReadRegularFile(QFile::encodeName(m_path).toStdString(), kLargestFile);
    const QString file = info.fileName();
    if (const QString problem = kindProblem(info, contents); !problem.isEmpty())
        return QStringLiteral("%1 cannot be read: %2").arg(file, problem);
    if (contents.bytes.starts_with("\xFF\xFE") || contents.bytes.starts_with("\xFE\xFF"))
        return QStringLiteral("%1 cannot be read: it is UTF-16 text, not UTF-8").arg(file);
    return QString();
}
