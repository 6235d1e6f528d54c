// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "ReportFixture.h"

#include "database/ComparisonDatabase.h"
#include "platform/Drives.h"
#include "report/JsonReport.h"
#include "session/FileNames.h"
#include "session/FullRun.h"
#include "session/SaveLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace report;

namespace {

QJsonObject parseJson(const QString& text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        qWarning("not a JSON object: %s", qPrintable(error.errorString()));
    return document.object();
}

// The document's shape: every name with the type of its value; objects
// nested, arrays by their first element. The report must hold exactly these
// names: scripts rely on them.
QJsonObject figureSchema(const QString& unit)
{
    return {{"unit", unit}, {"runs", QJsonArray{0}}, {"median", 0}, {"min", 0}, {"max", 0},
            {"cv", 0.5}};
}

QJsonObject schema()
{
    QJsonObject cpu = figureSchema("relative");
    cpu.insert("passes", figureSchema("passes"));
    QJsonObject drive = figureSchema("KiB/s");
    drive.insert("drive", "");
    QJsonObject video = figureSchema("MiB/s");
    video.insert("method", "");
    return {
        {"schemaVersion", 0},
        {"program", ""},
        {"version", ""},
        {"time", ""},
        {"runs", 0},
        {"tests", QJsonArray{""}},
        {"error", QJsonValue()},
        {"overview", QJsonObject{{"processor", ""},
                                 {"memory", ""},
                                 {"video", ""},
                                 {"monitor", ""},
                                 {"hdd", ""},
                                 {"cdrom", ""},
                                 {"mouse", ""},
                                 {"os", ""},
                                 {"computerName", ""},
                                 {"userName", ""}}},
        {"reference", QJsonObject{{"PIIMultCPU", 0}, {"PIIMultFPU", 0}, {"PIIFreq", 0}}},
        {"results", QJsonObject{{"cpu", cpu},
                                {"fpu", cpu},
                                {"memory", figureSchema("MiB/s")},
                                {"video", video},
                                {"drives", QJsonArray{drive}},
                                {"skipped", QJsonObject{}}}},
        {"environment", QJsonObject{{"processor", ""},
                                    {"hypervisor", false},
                                    {"governor", ""},
                                    {"loadAverage", 0.5},
                                    {"priority", ""},
                                    {"publishedTick", false}}},
        {"warnings", QJsonArray{""}},
        {"anonymous", false},
    };
}

bool sameType(const QJsonValue& expected, const QJsonValue& actual)
{
    return expected.type() == actual.type();
}

// Empty when `actual` has the schema's names, types and (where the schema
// gives a non-empty text under "unit") units.
QString schemaMismatch(const QJsonValue& expected, const QJsonValue& actual, const QString& path)
{
    if (!sameType(expected, actual))
        return path + ": wrong type";
    if (expected.isObject()) {
        const QJsonObject e = expected.toObject();
        const QJsonObject a = actual.toObject();
        if (QStringList(e.keys()) != QStringList(a.keys()))
            return path + ": names " + a.keys().join(',') + " instead of " + e.keys().join(',');
        for (const QString& key : e.keys()) {
            const QString mismatch = schemaMismatch(e[key], a[key], path + '.' + key);
            if (!mismatch.isEmpty())
                return mismatch;
        }
        if (e.contains("unit") && a["unit"] != e["unit"])
            return path + ": unit " + a["unit"].toString();
    }
    if (expected.isArray()) {
        for (const QJsonValue& item : actual.toArray()) {
            const QString mismatch = schemaMismatch(expected.toArray().first(), item, path + "[]");
            if (!mismatch.isEmpty())
                return mismatch;
        }
    }
    return {};
}

QList<int> ints(const QJsonValue& array)
{
    QList<int> values;
    for (const QJsonValue& value : array.toArray())
        values << value.toInt();
    return values;
}

// The log of the fixture's figures; its wording is TestResultsLog's.
QStringList composedLog()
{
    const ReportFixture fixture;
    AllTestsResults results;
    results.overview = fixture.overview;
    results.overview.hdd = "Drive / (100 Mb), ";
    results.processor = {450, 600, 450, 300}; // 600 / 400 x 300, 300 / 200 x 300
    results.memory = 5000;
    results.video = 700;
    results.drives = {{"Drive /", 81920}, {"Drive /home", 163840}};
    return ComposeLog(results);
}

} // namespace

void TestReportRun::textLogAsTheWindowWritesIt()
{
    ReportFixture f;
    QCOMPARE(f.run({}), 0);
    QCOMPARE(f.outLines(), composedLog());
    QVERIFY(!f.out().contains('\r'));
    QCOMPARE(f.err(), QString()); // no terminal, no --verbose: nothing on stderr
}

void TestReportRun::repeatedRunsInJson()
{
    ReportFixture f;
    f.cpuCounts = {600, 800, 400}; // scores 450, 600, 300
    f.memory = {5000, 5100, 4900};
    f.disk[1] = {100, 300, 200};
    ReportOptions options;
    options.json = true;
    options.repeat = 3;
    QCOMPARE(f.run(options), 0);

    const QJsonObject json = parseJson(f.out());
    QCOMPARE(schemaMismatch(schema(), json, "document"), QString());
    QCOMPARE(json["program"].toString(), "Quorvix 2000");
    QCOMPARE(json["version"].toString(), QUORVIX_PROJECT_VERSION);
    QCOMPARE(json["runs"].toInt(), 3);
    QCOMPARE(json["reference"]["PIIMultCPU"].toInt(), 400);
    QCOMPARE(json["overview"]["os"].toString(), "Debian GNU/Linux 12 (bookworm)");

    const QJsonObject results = json["results"].toObject();
    const QJsonObject cpu = results["cpu"].toObject();
    QCOMPARE(ints(cpu["runs"]), (QList<int>{450, 600, 300}));
    QCOMPARE(cpu["median"].toInt(), 450);
    QCOMPARE(cpu["min"].toInt(), 300);
    QCOMPARE(cpu["max"].toInt(), 600);
    QCOMPARE(cpu["cv"].toDouble(), 33.33); // deviation 150 over mean 450
    QCOMPARE(ints(cpu["passes"]["runs"]), (QList<int>{600, 800, 400}));
    QCOMPARE(results["fpu"]["cv"].toDouble(), 0.0);
    QCOMPARE(results["memory"]["median"].toInt(), 5000);
    QCOMPARE(results["memory"]["cv"].toDouble(), 2.0);
    QVERIFY(!results["video"].toObject().contains("skipped"));
    const QJsonArray drives = results["drives"].toArray();
    QCOMPARE(drives.size(), 2);
    QCOMPARE(drives[1]["drive"].toString(), "Drive /home");
    QCOMPARE(ints(drives[1]["runs"]), (QList<int>{100, 300, 200}));
    QCOMPARE(drives[1]["median"].toInt(), 200);
    QCOMPARE(drives[1]["cv"].toDouble(), 50.0);

    // The spread figures are flagged, the steady ones are not.
    QStringList warnings;
    for (const QJsonValue& warning : json["warnings"].toArray())
        warnings << warning.toString();
    QCOMPARE(warnings, (QStringList{
                           "CPU score varies: coefficient of variation 33.3 % over 3 runs",
                           "Drive /home varies: coefficient of variation 50.0 % over 3 runs",
                       }));
    QCOMPARE(json["environment"]["processor"].toString(), "Fake CPU @ 1 GHz");
    QCOMPARE(json["environment"]["priority"].toString(), "real-time");
    QCOMPARE(json["environment"]["loadAverage"].toDouble(), 0.1);
}

void TestReportRun::repeatedRunsLogTheMedian()
{
    ReportFixture f;
    f.cpuCounts = {400, 800, 600, 1000}; // scores 300, 600, 450, 750: median 525
    f.fpuCounts = {300};
    f.video = {10, 20, 30, 40};
    ReportOptions options;
    options.repeat = 4;
    QCOMPARE(f.run(options), 0);
    QStringList expected = composedLog();
    expected[17] = "CPU : 525 (700)";
    expected[20] = "Video : 25 (Mb/sec)";
    QCOMPARE(f.outLines(), expected);
}

void TestReportRun::iniRowsReadBack_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("key");
    QTest::newRow("plain") << "Test display"
                           << "Test display";
    QTest::newRow("blanks at the ends") << "  Test display "
                                        << "Test display";
    QTest::newRow("equals sign") << "Card=1"
                                 << "Card-1";
    QTest::newRow("comment sign first") << "; card"
                                        << "_; card";
    QTest::newRow("nothing known") << ""
                                   << "Unnamed";
}

void TestReportRun::iniRowsReadBack()
{
    QFETCH(QString, display);
    QFETCH(QString, key);
    ReportFixture f;
    f.overview.display = display;
    ReportOptions options;
    options.ini = true;
    QCOMPARE(f.run(options), 0);

    const QString path = f.directory.filePath("rows.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(f.out().toUtf8());
    file.close();
    const ComparisonDatabase database(path);
    QCOMPARE(database.ListKeys("Processor"), QStringList{"Test CPU, 1000 MHz"});
    QCOMPARE(database.ReadText("Processor", "Test CPU, 1000 MHz", ""), "450,450");
    QCOMPARE(database.ListKeys("Memory"), QStringList{QString::fromUtf8("Ваши 2048 Mb")});
    QCOMPARE(database.ReadNumber("Memory", QString::fromUtf8("Ваши 2048 Mb"), -1), 5000);
    QCOMPARE(database.ListKeys("Video"), QStringList{key});
    QCOMPARE(database.ReadNumber("Video", key, -1), 700);
    QCOMPARE(database.ListKeys("Drive"), (QStringList{"Drive /", "Drive /home"}));
    QCOMPARE(database.ReadNumber("Drive", "Drive /home", -1), 163840);
}

void TestReportRun::failedTestGivesStatus1AndThePartialLog()
{
    ReportFixture f;
    f.writeDatabase("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\nRef=x,1\n");
    ReportOptions options;
    options.verbose = true;
    options.output = f.directory.filePath("earlier.txt");
    QFile earlier(options.output);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier whole log\r\n");
    earlier.close();
    QCOMPARE(f.run(options), 1);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("an earlier whole log\r\n")); // not replaced by a part
    // The overview is logged; the processor test fails before its heading.
    QCOMPARE(f.outLines(), composedLog().mid(0, 14));
    QVERIFY2(f.err().endsWith("'x' is not a valid integer value\n"), qPrintable(f.err()));
}

void TestReportRun::skippedVideoSaysWhy()
{
    ReportFixture f;
    f.videoSkipped = "no display";
    QCOMPARE(f.run({}), 0);
    QVERIFY(f.outLines().contains("Video : 0 (Mb/sec)"));

    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    const QJsonObject json = parseJson(f.out());
    // Not a measured 0: null, and why.
    QVERIFY(json["results"]["video"].isNull());
    QCOMPARE(json["results"]["skipped"]["video"].toString(), "no display");
    QVERIFY(json["warnings"].toArray().contains("video test skipped: no display"));
    QCOMPARE(json["tests"].toArray(), (QJsonArray{"cpu", "fpu", "memory", "disk"}));
}

void TestReportRun::backingStoreVideoIsMarked_data()
{
    QTest::addColumn<bool>("backingStore");
    QTest::addColumn<int>("repeat");
    QTest::newRow("X server fills") << false << 1;
    QTest::newRow("backing store") << true << 1;
    QTest::newRow("backing store, median of three") << true << 3;
}

// A figure filled into a backing store says so beside it in the log, on
// standard output and in the saved file, and gives no base.ini row: the
// rows are pasted unread, so stderr says why also without --verbose.
void TestReportRun::backingStoreVideoIsMarked()
{
    QFETCH(bool, backingStore);
    QFETCH(int, repeat);
    ReportFixture f;
    f.surface.backingStore = backingStore;
    ReportOptions options;
    options.repeat = repeat;
    const QString line = backingStore
                             ? "Video : 700 (Mb/sec) - backing store (not comparable with X "
                               "server fills)"
                             : "Video : 700 (Mb/sec)";

    QCOMPARE(f.run(options), 0);
    QVERIFY2(f.outLines().contains(line), qPrintable(f.out()));
    options.output = f.directory.filePath("log.txt");
    QCOMPARE(f.run(options), 0);
    QFile saved(options.output);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("\r\n" + line.toUtf8() + "\r\n"));

    options.output.clear();
    options.ini = true;
    QCOMPARE(f.run(options), 0);
    const QString path = f.directory.filePath("rows.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(f.out().toUtf8());
    file.close();
    const ComparisonDatabase rows(path);
    QCOMPARE(rows.ListKeys("Video"), backingStore ? QStringList() : QStringList{"Test display"});
    QCOMPARE(rows.ListKeys("Memory").size(), 1); // the other rows stay
    QCOMPARE(f.err().contains("Warning: no Video row: the video figure was filled into a backing "
                              "store"),
             backingStore);
}

void TestReportRun::chosenTestsAndDrives()
{
    ReportFixture f;
    f.fullDrives = {"Drive /home"};
    ReportOptions options;
    options.json = true;
    options.tests = {TestId::Memory, TestId::Disk};
    QCOMPARE(f.run(options), 0);
    QJsonObject json = parseJson(f.out());
    QCOMPARE(json["tests"].toArray(), (QJsonArray{"memory", "disk"}));
    const QJsonObject results = json["results"].toObject();
    QVERIFY(results["cpu"].isNull() && results["fpu"].isNull() && results["video"].isNull());
    QCOMPARE(results["skipped"]["cpu"].toString(), "not asked for (--tests, --drive)");
    QCOMPARE(results["memory"]["median"].toInt(), 5000);
    QCOMPARE(results["drives"][0]["median"].toInt(), 81920);
    QCOMPARE(results["drives"][0]["unit"].toString(), "KiB/s");
    // A drive without room is no measured 0 either.
    QCOMPARE(results["drives"][1]["skipped"].toString(), "10 MiB or less free in /home");
    QVERIFY(!results["drives"][1].toObject().contains("median"));

    // The log keeps every line; what did not run shows 0, as a page never run.
    options.json = false;
    options.tests = {TestId::Fpu, TestId::Disk}; // --drive adds disk
    options.drives = {"/"};
    QCOMPARE(f.run(options), 0);
    QStringList expected = composedLog();
    expected[19] = "Memory : 0 (Mb/sec)";
    expected[20] = "Video : 0 (Mb/sec)";
    expected[22] = "Drive /home : 0 (KB/sec)";
    QCOMPARE(f.outLines(), expected);

    options.drives = {f.directory.filePath("nowhere/at/all")};
    QCOMPARE(f.run(options), 2);
    QVERIFY2(
        f.err().startsWith("--drive " + options.drives[0] + ": not on any of the fixed drives"),
        qPrintable(f.err()));
}

// A container or chroot lists no drive: the report says why instead of
// passing over the disk test in silence.
void TestReportRun::withoutDrivesSaysWhy()
{
    ReportFixture f(0);
    f.rootFilesystem = QStringLiteral("overlay");
    ReportOptions options;
    options.json = true;
    options.tests = {TestId::Disk};
    QCOMPARE(f.run(options), 0);
    const QJsonObject json = parseJson(f.out());
    QCOMPARE(json["results"]["drives"].toArray(), QJsonArray());
    QCOMPARE(json["warnings"].toArray(),
             QJsonArray{"disk test skipped: no fixed drive is listed: / is on overlay, and only "
                        "local filesystems on disks of their own count as drives (a container or "
                        "chroot has none); --drive DIRECTORY tests a directory instead"});

    f.terminal = true;
    options.json = false;
    QCOMPARE(f.run(options), 0);
    QVERIFY2(f.err().contains("Warning: disk test skipped: no fixed drive is listed: / is on "
                              "overlay"),
             qPrintable(f.err()));
}

// --drive takes a directory on none of the fixed drives as a drive of its
// own, where the user may write and the files are local.
void TestReportRun::driveOutsideTheDrives_data()
{
    QTest::addColumn<QString>("path");  // relative: in the fixture's directory
    QTest::addColumn<QString>("error"); // after "... fixed drives (none is listed), and "
    QTest::newRow("writable directory") << "tested"
                                        << "";
    QTest::newRow("missing") << "missing"
                             << "not there";
    QTest::newRow("a file") << "base.ini"
                            << "not a directory";
    QTest::newRow("kernel filesystem") << "/proc"
                                       << "on proc, which holds no files of its own";
    QTest::newRow("not writable") << "locked"
                                  << "this user may not write in it";
}

void TestReportRun::driveOutsideTheDrives()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    ReportFixture f(0);
    if (path == "locked" && geteuid() == 0)
        QSKIP("root may write everywhere");
    const QString full = path.startsWith('/') ? path : f.directory.filePath(path);
    if (path == "tested" || path == "locked")
        QVERIFY(QDir().mkdir(full));
    if (path == "locked")
        QVERIFY(QFile::setPermissions(full, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ReportOptions options;
    options.json = true;
    options.tests = {TestId::Disk};
    options.drives = {full, full}; // once is enough
    const int status = f.run(options);
    if (!error.isEmpty()) {
        QCOMPARE(status, 2);
        QCOMPARE(f.err(), "--drive " + full +
                              ": not on any of the fixed drives (none is listed), and " + error +
                              "\n");
        return;
    }
    QCOMPARE(status, 0);
    const QJsonObject json = parseJson(f.out());
    const QJsonArray drives = json["results"]["drives"].toArray();
    QCOMPARE(drives.size(), 1);
    QCOMPARE(drives[0]["drive"].toString(), "Drive " + QFileInfo(full).canonicalFilePath());
    QCOMPARE(drives[0]["median"].toInt(), 7000);
    // The type of the real filesystem it is on: the temporary folder's.
    const auto mount = platform::MountHolding(
        "/", QFile::encodeName(QFileInfo(full).canonicalFilePath()).toStdString());
    QVERIFY(mount.has_value());
    QCOMPARE(drives[0]["filesystem"].toString(), QString::fromStdString(mount->fsType));
}

void TestReportRun::withoutDatabaseGivesPassCounts()
{
    ReportFixture f;
    QVERIFY(QFile::remove(f.setup.databasePath));
    ReportOptions options;
    QCOMPARE(f.run(options), 0);
    QCOMPARE(f.outLines().value(17), "CPU : 0 (600)");
    QCOMPARE(f.outLines().value(18), "FPU : 0 (300)");

    options.json = true;
    QCOMPARE(f.run(options), 0);
    const QJsonObject json = parseJson(f.out());
    const QJsonObject cpu = json["results"]["cpu"].toObject();
    QVERIFY(cpu["median"].isNull() && cpu["runs"].isNull());
    QCOMPARE(cpu["passes"]["median"].toInt(), 600);
    QCOMPARE(json["results"]["fpu"]["passes"]["median"].toInt(), 300);
    QVERIFY(json["error"].isNull());
    QCOMPARE(json["warnings"].toArray().first().toString(),
             f.setup.databasePath + " does not exist (nor base.ini beside the program), so there "
                                    "is no reference machine: the processor scores are left out, "
                                    "the pass counts are given");
    QVERIFY(!f.err().contains("no reference machine"));

    // Named with --database, the missing file is reported on stderr even
    // without --verbose: a mistyped name must not pass unnoticed.
    options.database = f.setup.databasePath;
    QCOMPARE(f.run(options), 0);
    QVERIFY2(f.err().contains("Warning: " + f.setup.databasePath +
                              " does not exist, so there is no reference machine"),
             qPrintable(f.err()));
}

// Something is there that cannot be read: the warning says what, never that
// the file lacks values or is not there; a FIFO never blocks the run.
void TestReportRun::unreadableDatabaseSaysWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why"); // after the path
    QTest::newRow("directory") << "directory"
                               << ": it is a directory";
    QTest::newRow("FIFO") << "fifo"
                          << ": it is not a regular file";
    QTest::newRow("UTF-16") << "utf16"
                            << ": it is UTF-16 text, not UTF-8";
    QTest::newRow("no permission") << "unreadable"
                                   << ": Permission denied";
    QTest::newRow("link loop") << "loop"
                               << ": it is a symbolic link to %1 that cannot be followed (Too "
                                  "many levels of symbolic links)";
    QTest::newRow("dangling link") << "dangling"
                                   << ": it is a symbolic link to %1 that cannot be followed (No "
                                      "such file or directory)";
}

void TestReportRun::unreadableDatabaseSaysWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    if (kind == "unreadable" && geteuid() == 0)
        QSKIP("root reads every file");
    ReportFixture f;
    const QString path = f.setup.databasePath;
    const QByteArray native = QFile::encodeName(path);
    QVERIFY(QFile::remove(path));
    const QString target = f.directory.filePath(kind == "loop" ? "base.ini" : "gone.ini");
    if (kind == "directory")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(native.constData(), 0600), 0);
    else if (kind == "loop" || kind == "dangling")
        QVERIFY(QFile::link(target, path));
    else
        f.writeDatabase(kind == "utf16" ? QByteArray("\xFF\xFE[\0D\0A\0T\0A\0]\0", 14)
                                        : QByteArray("[DATA]\nPIIMultCPU=400\n"));
    if (kind == "unreadable")
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));

    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    const QJsonObject json = parseJson(f.out());
    QCOMPARE(json["results"]["cpu"]["passes"]["median"].toInt(), 600);
    QCOMPARE(json["warnings"].toArray().first().toString(),
             path + " cannot be read" + why.arg(target) +
                 ", so there is no reference machine: the processor scores are left out, the "
                 "pass counts are given");
}

void TestReportRun::failedRunStillPrintsJson()
{
    ReportFixture f;
    f.writeDatabase("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Memory]\nRef=x\n");
    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 1);
    const QJsonObject json = parseJson(f.out());
    QCOMPARE(json["error"].toString(), "'x' is not a valid integer value");
    QCOMPARE(json["schemaVersion"].toInt(), 2);
    QCOMPARE(json["overview"]["userName"].toString(), "tester");
    const QJsonObject results = json["results"].toObject();
    QCOMPARE(results["cpu"]["median"].toInt(), 450); // measured before the error
    QVERIFY(results["memory"].isNull() && results["video"].isNull());
    QCOMPARE(results["skipped"]["video"].toString(), "not reached: the run stopped at the error");
    QCOMPARE(results["drives"][1]["skipped"].toString(),
             "not reached: the run stopped at the error");
    QVERIFY(QDateTime::fromString(json["time"].toString(), Qt::ISODate).isValid());
    QVERIFY(json["time"].toString().endsWith('Z'));
    QVERIFY2(f.err().endsWith("'x' is not a valid integer value\n"), qPrintable(f.err()));
}

void TestReportRun::outputIsSavedWithCrLf()
{
    ReportFixture f;
    const QString path = f.directory.filePath("Testlog.txt");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'o'));
    old.close();

    ReportOptions options;
    options.output = path;
    QCOMPARE(f.run(options), 0);
    QCOMPARE(f.out(), QString()); // the log went to the file
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), LogFileBytes(composedLog()));

    // "-" is standard output, as saved, and no file of that name.
    options.output = QStringLiteral("-");
    QCOMPARE(f.run(options), 0);
    QCOMPARE(f.outBuffer.data(), LogFileBytes(composedLog()));
    QVERIFY(!QFile::exists(QStringLiteral("-")));
}

void TestReportRun::unwritableOutputGivesStatus1()
{
    ReportFixture f;
    ReportOptions options;
    options.output = f.directory.filePath("missing/Testlog.txt");
    QCOMPARE(f.run(options), 1);
    QCOMPARE(f.err(), "Cannot create file " + options.output + "\n");
}

void TestReportRun::oversizedDatabaseGivesStatus1_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("log") << 0;
    QTest::newRow("--json") << 1;
    QTest::newRow("--ini") << 2;
}

// The scaling is read before any test runs: its error is a message and
// status 1 too, not an exception out of the run.
void TestReportRun::oversizedDatabaseGivesStatus1()
{
    QFETCH(int, format);
    ReportFixture f;
    QFile database(f.setup.databasePath);
    QVERIFY(database.resize(16 * 1024 * 1024 + 1));
    ReportOptions options;
    options.json = format == 1;
    options.ini = format == 2;
    QCOMPARE(f.run(options), 1);
    const QString message = "Unable to read " + QFileInfo(f.setup.databasePath).absoluteFilePath() +
                            ": the file is larger than 16 MB";
    QCOMPARE(f.err(), message + "\n");
    // JSON is a document also then, with the error in it.
    if (options.json)
        QCOMPARE(QJsonDocument::fromJson(f.out().toUtf8()).object().value("error").toString(),
                 message);
    else
        QCOMPARE(f.out(), QString());
}

void TestReportRun::warnings_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("warning");
    QTest::newRow("hypervisor") << "hypervisor"
                                << "running under a hypervisor: the figures vary with the host's "
                                   "load";
    QTest::newRow("governor") << "powersave"
                              << "the frequency governor is \"powersave\", not \"performance\": "
                                 "the clock may change during the tests";
    QTest::newRow("load") << "load"
                          << "the load average was 0.75 at the start (above 0.5): other work "
                             "shares the processor";
    QTest::newRow("priority") << "priority"
                              << "the measurements ran at normal priority: neither real-time nor "
                                 "nice -20 was permitted";
    QTest::newRow("clock") << "clock"
                           << "the processor kernels read the clock instead of the published "
                              "tick: their counts are lower";
}

void TestReportRun::warnings()
{
    QFETCH(QString, condition);
    QFETCH(QString, warning);
    ReportFixture f;
    f.hypervisor = condition == "hypervisor";
    if (condition == "powersave")
        f.writeEnvironmentFile("sys/devices/system/cpu/cpu0/cpufreq/scaling_governor",
                               "powersave\n");
    if (condition == "load")
        f.writeEnvironmentFile("proc/loadavg", "0.75 0.20 0.30 1/100 1234\n");
    if (condition == "priority")
        f.priority = platform::ObtainedPriority::Neither;
    f.tickPublished = condition != "clock";

    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    const QJsonObject json = parseJson(f.out());
    QCOMPARE(json["warnings"].toArray(), QJsonArray{warning});
    QCOMPARE(f.err(), QString()); // warnings reach stderr only for a terminal or --verbose
    options.verbose = true;
    QCOMPARE(f.run(options), 0);
    QVERIFY2(f.err().contains("Warning: " + warning + "\n"), qPrintable(f.err()));
}

void TestReportRun::progressOnlyForTerminalOrVerbose_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<bool>("verbose");
    QTest::newRow("pipe") << false << false;
    QTest::newRow("terminal") << true << false;
    QTest::newRow("pipe, --verbose") << false << true;
}

void TestReportRun::progressOnlyForTerminalOrVerbose()
{
    QFETCH(bool, terminal);
    QFETCH(bool, verbose);
    ReportFixture f;
    f.terminal = terminal;
    ReportOptions options;
    options.verbose = verbose;
    QCOMPARE(f.run(options), 0);
    const QStringList progress{"System overview ...", "Processor ...", "Memory ...",
                               "Video ...",           "Drive / ...",   "Drive /home ..."};
    QCOMPARE(f.err(), terminal || verbose ? progress.join('\n') + '\n' : QString());
    QCOMPARE(f.outLines(), composedLog()); // stdout holds the results alone either way
}

// --drive takes a folder by the bytes of its name, as the command line gives them.
void TestReportRun::driveOfAnyName()
{
    ReportFixture f(1);
    f.driveEntries = {"Drive " + f.directory.path()};
    const QByteArray folder = QFile::encodeName(f.directory.path()) + "/folder\xff";
    QVERIFY(std::filesystem::create_directory(folder.toStdString()));
    ReportOptions options;
    options.json = true;
    options.tests = {TestId::Disk};
    options.drives = {FileNameText(folder)};
    const int status = f.run(options);
    std::filesystem::remove(folder.toStdString()); // a name Qt cannot decode
    QCOMPARE(status, 0);
    const QJsonObject results = parseJson(f.out())["results"].toObject();
    QCOMPARE(results["drives"][0]["median"].toInt(), 81920);
}

void TestReportRun::errorDocumentsHaveEveryMember_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("status");
    QTest::newRow("a --drive on no drive") << "drive" << 2;
    QTest::newRow("a database too large to read") << "database" << 1;
}

void TestReportRun::errorDocumentsHaveEveryMember()
{
    QFETCH(QString, fault);
    QFETCH(int, status);
    ReportFixture f;
    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    const QStringList members = parseJson(f.out()).keys();

    if (fault == "drive")
        options.drives = {f.directory.filePath("nowhere")};
    else
        QVERIFY(QFile(f.setup.databasePath).resize(16 * 1024 * 1024 + 1));
    QCOMPARE(f.run(options), status);
    const QJsonObject json = parseJson(f.out());
    QCOMPARE(json.keys(), members);
    QCOMPARE(json["program"].toString(), kProgramName);
    QCOMPARE(json["version"].toString(), ProgramVersion());
    QCOMPARE(json["runs"].toInt(-1), 0);
    QCOMPARE(json["tests"].toArray(), QJsonArray());
    QCOMPARE(json["error"].toString() + "\n", f.err());
    const QJsonObject results = json["results"].toObject();
    for (const char* key : {"cpu", "fpu", "memory", "video"}) {
        QVERIFY(results.contains(key) && results[key].isNull());
        QVERIFY(results["skipped"][key].toString().startsWith("not reached"));
    }
    QCOMPARE(results["drives"].toArray(), QJsonArray());
}
