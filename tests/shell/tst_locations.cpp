// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "shell/Locations.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray ShippedBytes = "[DATA]\nPIIFreq=1\n";
const QByteArray UserBytes = "[DATA]\nPIIFreq=2\n";
const QByteArray BesideBytes = "[DATA]\nPIIFreq=3\n";

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What stands at a path: "absent", "dir", or the file's bytes.
QByteArray contentAt(const QString& path)
{
    if (QFileInfo(path).isDir())
        return "dir";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("absent");
}

// Makes "file", "empty", "dir", "fifo" or "link loop" at path ("" leaves nothing).
bool make(const QString& kind, const QString& path, const QByteArray& bytes)
{
    if (kind == QLatin1String("file"))
        return writeFile(path, bytes);
    if (kind == QLatin1String("empty"))
        return writeFile(path, {});
    if (kind == QLatin1String("dir"))
        return QDir().mkpath(path);
    if (kind == QLatin1String("fifo"))
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("link loop"))
        return QFile::link(path, path);
    return kind.isEmpty();
}

} // namespace

void TestLocations::database_data()
{
    QTest::addColumn<QString>("beside");   // what is beside the executable
    QTest::addColumn<QString>("config");   // what is in the configuration directory
    QTest::addColumn<bool>("shipped");     // a shipped base.ini
    QTest::addColumn<bool>("blocked");     // the configuration directory cannot be made
    QTest::addColumn<int>("origin");       // DatabaseOrigin
    QTest::addColumn<QString>("chosen");   // "beside", "config" or "shipped"
    QTest::addColumn<QByteArray>("after"); // the configuration directory's base.ini afterwards

    using O = DatabaseOrigin;
    const QString none;
    QTest::newRow("beside the executable wins")
        << "file"
        << "file" << true << false << int(O::BesideExecutable) << "beside" << UserBytes;
    QTest::newRow("beside the executable: nothing seeded")
        << "file" << none << true << false << int(O::BesideExecutable) << "beside"
        << QByteArray("absent");
    // Something beside that cannot be read is still the database: its read
    // error names it, where the user's copy would hide it.
    for (const char* kind : {"dir", "fifo", "link loop"})
        QTest::addRow("a %s beside is the database", kind)
            << kind << none << true << false << int(O::BesideExecutable) << "beside"
            << QByteArray("absent");
    QTest::newRow("first start seeds the user's copy")
        << none << none << true << false << int(O::Seeded) << "config" << ShippedBytes;
    QTest::newRow("the user's copy is kept")
        << none << "file" << true << false << int(O::UserCopy) << "config" << UserBytes;
    QTest::newRow("an empty user's copy is kept")
        << none << "empty" << true << false << int(O::UserCopy) << "config" << QByteArray();
    QTest::newRow("a directory in its place is not replaced")
        << none << "dir" << true << false << int(O::UserCopy) << "config" << QByteArray("dir");
    QTest::newRow("nothing shipped: the first write makes it")
        << none << none << false << false << int(O::Absent) << "config" << QByteArray("absent");
    QTest::newRow("no copy can be made: the shipped file")
        << none << none << true << true << int(O::Shipped) << "shipped" << QByteArray("absent");
    QTest::newRow("no copy can be made, nothing shipped")
        << none << none << false << true << int(O::Absent) << "config" << QByteArray("absent");
}

void TestLocations::database()
{
    QFETCH(QString, beside);
    QFETCH(QString, config);
    QFETCH(bool, shipped);
    QFETCH(bool, blocked);
    QFETCH(int, origin);
    QFETCH(QString, chosen);
    QFETCH(QByteArray, after);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString exeDir = root.filePath(QStringLiteral("bin"));
    const QString dataDir = root.filePath(QStringLiteral("share/quorvix"));
    // Two levels, as ~/.config/quorvix may be missing whole.
    const QString configDir = root.filePath(QStringLiteral("home/.config/quorvix"));
    const QString besidePath = exeDir + QStringLiteral("/base.ini");
    const QString shippedPath = dataDir + QStringLiteral("/base.ini");
    const QString ownPath = configDir + QStringLiteral("/base.ini");
    QVERIFY(QDir().mkpath(exeDir) && QDir().mkpath(dataDir));
    QVERIFY(make(beside, besidePath, BesideBytes));
    if (!config.isEmpty())
        QVERIFY(QDir().mkpath(configDir) && make(config, ownPath, UserBytes));
    if (shipped)
        QVERIFY(writeFile(shippedPath, ShippedBytes));
    if (blocked) // a file where the configuration directory's parent should be
        QVERIFY(writeFile(root.filePath(QStringLiteral("home")), "not a directory"));

    const DatabaseLocation found = LocateDatabase(exeDir, configDir, dataDir);

    const QString expected = chosen == QLatin1String("beside")    ? besidePath
                             : chosen == QLatin1String("shipped") ? shippedPath
                                                                  : ownPath;
    QCOMPARE(found.path, expected);
    QCOMPARE(int(found.origin), origin);
    QCOMPARE(contentAt(ownPath), after);
    if (shipped)
        QCOMPARE(contentAt(shippedPath), ShippedBytes);
    // A seeded copy leaves no temporary file behind; nothing is made beside
    // the executable's own database.
    const QStringList entries = QDir(configDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY2(entries.size() <= 1, qPrintable(entries.join(QLatin1Char(' '))));
    if (chosen == QLatin1String("beside"))
        QCOMPARE(QFileInfo::exists(configDir), !config.isEmpty());
    // The user's configuration directory is there for the editor's first write.
    if (chosen == QLatin1String("config") && !blocked)
        QVERIFY(QFileInfo(configDir).isDir());
}

void TestLocations::secondStartKeepsTheSeededCopy()
{
    QTemporaryDir root;
    const QString dataDir = root.filePath(QStringLiteral("data"));
    const QString configDir = root.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkpath(dataDir));
    QVERIFY(writeFile(dataDir + QStringLiteral("/base.ini"), ShippedBytes));
    const QString exeDir = root.filePath(QStringLiteral("bin"));

    QCOMPARE(LocateDatabase(exeDir, configDir, dataDir).origin, DatabaseOrigin::Seeded);
    QVERIFY(writeFile(configDir + QStringLiteral("/base.ini"), UserBytes));
    QVERIFY(writeFile(dataDir + QStringLiteral("/base.ini"), "[DATA]\nPIIFreq=9\n"));
    const DatabaseLocation second = LocateDatabase(exeDir, configDir, dataDir);
    QCOMPARE(second.origin, DatabaseOrigin::UserCopy);
    QCOMPARE(contentAt(second.path), UserBytes);
}

void TestLocations::relativeXdgDirectoryIgnored_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("kept");
    QTest::newRow("relative") << QByteArray("relative/config") << false;
    QTest::newRow("dot") << QByteArray("./config") << false;
    QTest::newRow("absolute") << QByteArray("/tmp/config-home") << true;
}

void TestLocations::relativeXdgDirectoryIgnored()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, kept);
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", value);
    IgnoreRelativeXdgDirectories();
    const bool stillSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QString configDir = CurrentProgramDirs().configDir;
    if (had)
        qputenv("XDG_CONFIG_HOME", before);
    else
        qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(stillSet, kept);
    QVERIFY2(QDir::isAbsolutePath(configDir), qPrintable(configDir));
}

void TestLocations::helpDocument_data()
{
    QTest::addColumn<QString>("here");     // doc/help.htm in the current directory
    QTest::addColumn<bool>("installed");   // <dataDir>/help.htm
    QTest::addColumn<bool>("knowDataDir"); // an installed directory is known
    QTest::addColumn<bool>("wantInstalled");

    QTest::newRow("the current directory first") << "file" << true << true << false;
    QTest::newRow("the installed copy when none is here") << QString() << true << true << true;
    QTest::newRow("neither: the designed path") << QString() << false << true << false;
    QTest::newRow("a directory is no document") << "dir" << true << true << true;
    QTest::newRow("no installed directory known") << QString() << false << false << false;
}

void TestLocations::helpDocument()
{
    QFETCH(QString, here);
    QFETCH(bool, installed);
    QFETCH(bool, knowDataDir);
    QFETCH(bool, wantInstalled);

    QTemporaryDir root;
    const QString current = root.filePath(QStringLiteral("work"));
    const QString dataDir = root.filePath(QStringLiteral("share/quorvix"));
    QVERIFY(QDir().mkpath(current + QStringLiteral("/doc")) && QDir().mkpath(dataDir));
    const QString designed = current + QStringLiteral("/doc/help.htm");
    const QString installedPath = dataDir + QStringLiteral("/help.htm");
    QVERIFY(make(here, designed, "<html>here</html>"));
    if (installed)
        QVERIFY(writeFile(installedPath, "<html>installed</html>"));

    const QString found = LocateHelpDocument(current, knowDataDir ? dataDir : QString());
    QCOMPARE(found, wantInstalled ? installedPath : designed);
}

void TestLocations::describedLocationsCreateNothing()
{
    // What --version --verbose prints: the files the program would use, with
    // the user's copy named before it exists and nothing made for the answer.
    QTemporaryDir root;
    const ProgramDirs dirs{root.filePath(QStringLiteral("bin")),
                           root.filePath(QStringLiteral("config/quorvix")),
                           root.filePath(QStringLiteral("share/quorvix"))};
    QVERIFY(QDir().mkpath(dirs.executableDir) && QDir().mkpath(dirs.dataDir));
    QVERIFY(writeFile(dirs.dataDir + QStringLiteral("/base.ini"), ShippedBytes));
    QVERIFY(writeFile(dirs.dataDir + QStringLiteral("/help.htm"), "<html></html>"));
    const QString own = dirs.configDir + QStringLiteral("/base.ini");

    QStringList lines = DescribeLocations(dirs, root.path());
    QCOMPARE(lines.value(0),
             QStringLiteral("database: ") + own +
                 QStringLiteral(" (made from the shipped database at the next start)"));
    QCOMPARE(lines.value(1), QStringLiteral("shipped database: ") + dirs.dataDir + "/base.ini");
    QCOMPARE(lines.value(2), QStringLiteral("help: ") + dirs.dataDir + "/help.htm");
    QVERIFY(!QFileInfo::exists(dirs.configDir));

    QVERIFY(QDir().mkpath(dirs.configDir) && writeFile(own, UserBytes));
    QCOMPARE(DescribeLocations(dirs, root.path()).value(0),
             QStringLiteral("database: ") + own + QStringLiteral(" (your copy)"));
    const QString beside = dirs.executableDir + QStringLiteral("/base.ini");
    QVERIFY(writeFile(beside, BesideBytes));
    QCOMPARE(DescribeLocations(dirs, root.path()).value(0),
             QStringLiteral("database: ") + beside + QStringLiteral(" (beside the executable)"));
    // What is there but cannot be read is still what the program uses.
    QVERIFY(QFile::remove(beside) && QDir().mkdir(beside));
    QCOMPARE(DescribeLocations(dirs, root.path()).value(0),
             QStringLiteral("database: ") + beside +
                 QStringLiteral(" (beside the executable; base.ini cannot be read: it is a "
                                "directory)"));
}

void TestLocations::configDirectoryIsQuorvix()
{
    // The application's names give $XDG_CONFIG_HOME/quorvix.
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    const QString configDir = CurrentProgramDirs().configDir;
    qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(configDir, home.filePath(QStringLiteral("quorvix")));
}

void TestLocations::aboutBoxNamesDatabase()
{
    ShellFixture f;
    const QString path = f.directory.filePath(QStringLiteral("base.ini"));
    QCOMPARE(f.forms.Form5->toolTip(), QStringLiteral("Comparison database: ") + path);
}
