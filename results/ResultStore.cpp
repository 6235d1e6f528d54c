// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ResultStore.h"

#include "platform/AtomicFile.h"
#include "platform/Files.h"
#include "session/FileNames.h"
#include "session/SaveLog.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace report {
namespace {

const QRegularExpression& savedName()
{
    static const QRegularExpression name(QStringLiteral(R"(^(\d{8}T\d{6}Z)(?:-(\d+))?\.json$)"));
    return name;
}

// A name the disk takes as it is given: the bytes of FileNameText's text.
std::string diskName(const QString& path)
{
    return FileNameBytes(path).toStdString();
}

} // namespace

QString ResultsDirectory(const QString& xdgDataHome, const QString& home)
{
    QString data = xdgDataHome;
    if (!QDir::isAbsolutePath(data)) {
        if (!QDir::isAbsolutePath(home))
            return {};
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/quorvix/results"));
}

QString ResultsDirectory()
{
    return ResultsDirectory(EnvironmentFileName("XDG_DATA_HOME"), EnvironmentFileName("HOME"));
}

QString ResultFileName(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")) + QStringLiteral(".json");
}

QString SaveResult(const QString& directory, const QDateTime& time, const QByteArray& bytes)
{
    if (directory.isEmpty())
        throw SaveError("Cannot save the results: neither XDG_DATA_HOME nor HOME is an absolute "
                        "path");
    constexpr unsigned kOwnerOnly = 0700;
    if (!platform::MakeDirectories(diskName(directory), kOwnerOnly))
        throw SaveError("Cannot create folder " + diskName(directory)); // the name's own bytes
    const QString stem = QDir(directory).filePath(ResultFileName(time).chopped(5));
    const auto nameFor = [&stem](int n) {
        return diskName(n == 0 ? stem + QStringLiteral(".json")
                               : stem + QStringLiteral("-%1.json").arg(n + 1));
    };
    // Claimed by a link, never replaced: a save racing this one for the name
    // takes the next, and a symbolic link planted at a name is not followed.
    constexpr int kNamesASecond = 10000;
    const int taken = platform::CreateUnderFreeName(
        nameFor, kNamesASecond,
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (taken < 0)
        throw SaveError("Cannot create file " + nameFor(0));
    return FileNameText(QByteArray::fromStdString(nameFor(taken)));
}

QStringList KeptResults(const QString& directory)
{
    struct Kept
    {
        QString stamp;
        int n;
        QString path;
    };
    QList<Kept> kept;
    const QDir dir(directory);
    for (const std::string& entry : platform::ListEntries(diskName(directory), "")) {
        const QString name = FileNameText(QByteArray::fromStdString(entry));
        const QRegularExpressionMatch match = savedName().match(name);
        if (match.hasMatch())
            kept.append({match.captured(1),
                         match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(),
                         dir.filePath(name)});
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.n < b.n;
    });
    QStringList paths;
    for (const Kept& k : kept)
        paths << k.path;
    return paths;
}

} // namespace report
