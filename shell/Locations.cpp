// SPDX-License-Identifier: GPL-3.0-or-later
#include "Locations.h"

#include "database/ComparisonDatabase.h"
#include "platform/AtomicFile.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString DatabaseName = QStringLiteral("base.ini");

// The one place the executable's directory is asked for.
// Found from the bytes of the executable's path: Qt's applicationDirPath()
// is empty where they are not UTF-8. Empty when it cannot be found.
QString ExecutableDir()
{
    return QFile::decodeName(QByteArray::fromStdString(platform::ExecutableDirectory()));
}

// Copies source to target in one step, so a copy cut short is never taken
// for the user's file; a file that appeared at target meanwhile stays.
bool SeedCopy(const QString& source, const QString& target)
{
    const auto bytes = platform::ReadFileBytes(QFile::encodeName(source).toStdString());
    return bytes && platform::ReplaceFileAtomically(QFile::encodeName(target).toStdString(), *bytes,
                                                    platform::ExistingFile::Keep);
}

} // namespace

DatabaseLocation LocateDatabase(const QString& executableDir, const QString& configDir,
                                const QString& dataDir)
{
    // An unknown directory is no directory: never base.ini of the current one.
    const QString beside =
        executableDir.isEmpty() ? QString() : QDir(executableDir).filePath(DatabaseName);
    // Whatever is there is the database, also what cannot be read (a
    // directory, a FIFO, a link loop): its read error names it, where
    // passing over it would hide why the program found no database.
    const QFileInfo besideInfo(beside);
    if (!beside.isEmpty() && (besideInfo.exists() || besideInfo.isSymLink()))
        return {beside, DatabaseOrigin::BesideExecutable};

    const QString shipped = QDir(dataDir).filePath(DatabaseName);
    const bool haveShipped = QFileInfo(shipped).isFile();
    if (configDir.isEmpty())
        return haveShipped ? DatabaseLocation{shipped, DatabaseOrigin::Shipped}
                           : DatabaseLocation{beside, DatabaseOrigin::Absent};

    const QString own = QDir(configDir).filePath(DatabaseName);
    if (QFileInfo::exists(own) || QFileInfo(own).isSymLink())
        return {own, DatabaseOrigin::UserCopy};
    const bool dirMade = QDir().mkpath(configDir);
    if (!haveShipped)
        return {own, DatabaseOrigin::Absent};
    if (dirMade && SeedCopy(shipped, own))
        return {own, DatabaseOrigin::Seeded};
    return {shipped, DatabaseOrigin::Shipped};
}

QStringList HelpDocumentPlaces(const QString& currentDir, const QString& dataDir)
{
    QStringList places{QDir(currentDir).absoluteFilePath(QStringLiteral("doc/help.htm"))};
    if (!dataDir.isEmpty())
        places << QDir(dataDir).filePath(QStringLiteral("help.htm"));
    return places;
}

QString LocateHelpDocument(const QString& currentDir, const QString& dataDir)
{
    const QStringList places = HelpDocumentPlaces(currentDir, dataDir);
    for (const QString& place : places)
        if (QFileInfo(place).isFile())
            return place;
    return places.constFirst();
}

ProgramDirs CurrentProgramDirs()
{
    const QString executableDir = ExecutableDir();
    const auto relative = [&executableDir](const char* path) {
        return QDir::cleanPath(QDir(executableDir).filePath(QString::fromUtf8(path)));
    };
    return {executableDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
            relative(QUORVIX_BIN_TO_DATA)};
}

QStringList DescribeLocations(const ProgramDirs& dirs, const QString& currentDir)
{
    const auto existing = [](const QString& path) {
        return QFileInfo(path).isFile() ? path : path + QStringLiteral(" (missing)");
    };
    const QString beside = QDir(dirs.executableDir).filePath(DatabaseName);
    const QString own = QDir(dirs.configDir).filePath(DatabaseName);
    const QString shipped = QDir(dirs.dataDir).filePath(DatabaseName);
    // As LocateDatabase decides: whatever is there is the database, also
    // what cannot be read, and then why.
    const auto there = [](const QString& path) {
        return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    };
    const auto problem = [](const QString& path) {
        const QString why = ComparisonDatabase(path).ReadProblem();
        return why.isEmpty() ? QString() : QStringLiteral("; ") + why;
    };
    QString database;
    if (!dirs.executableDir.isEmpty() && there(beside))
        database = beside + QStringLiteral(" (beside the executable%1)").arg(problem(beside));
    else if (!dirs.configDir.isEmpty() && there(own))
        database = own + QStringLiteral(" (your copy%1)").arg(problem(own));
    else if (!dirs.configDir.isEmpty())
        database = own + QStringLiteral(" (made from the shipped database at the next start)");
    else
        database = shipped;
    return {QStringLiteral("database: ") + database,
            QStringLiteral("shipped database: ") + existing(shipped),
            QStringLiteral("help: ") + existing(LocateHelpDocument(currentDir, dirs.dataDir))};
}

void IgnoreRelativeXdgDirectories()
{
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty() && QDir::isRelativePath(value))
            qunsetenv(name);
    }
}

DatabaseLocation LocateProgramDatabase()
{
    const ProgramDirs dirs = CurrentProgramDirs();
    return LocateDatabase(dirs.executableDir, dirs.configDir, dirs.dataDir);
}

QString DatabaseInUseText(const QString& path)
{
    return QStringLiteral("Comparison database: %1").arg(QDir::toNativeSeparators(path));
}
