// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "ReportFixture.h"
#include "SavedResults.h"

#include "report/AddReference.h"
#include "report/Anonymous.h"
#include "report/CompareCommand.h"
#include "report/ShippedRows.h"
#include "session/FileNames.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <fstream>
#include <sys/stat.h>

using namespace report;

namespace {

const QByteArray kDatabase = "; kept as it is\n[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\n"
                             "PIIFreq=300\n[Processor]\nOld CPU=100,100\n";

// A saved result of this version: CPU 450 passes, FPU 300, memory 5000,
// video 700, drive / 80000.
QJsonObject Result()
{
    QJsonObject document = SavedDocument({5000});
    document.insert("version", ProgramVersion());
    SetMember(document, "overview.memory", "2048 Mb (used 31%)");
    SetMember(document, "overview.video", "Test display");
    return document;
}

QByteArray Json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

struct AddFixture
{
    QTemporaryDir directory;
    QString database = directory.filePath("base.ini");
    QBuffer out;
    QBuffer err;

    AddFixture() { write("base.ini", kDatabase); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(directory.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }

    int run(const QStringList& files, bool force = false, bool anonymous = false)
    {
        out.setData({});
        err.setData({});
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        AddReferenceOptions options;
        options.files = files;
        options.force = force;
        options.anonymous = anonymous;
        const int status = RunAddReference(options, database, out, err);
        out.close();
        err.close();
        return status;
    }

    QByteArray bytes() const
    {
        QFile file(database);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

// Every kind of file the command may be given, and what the database holds after.
void TestAddReference::files_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errContains"); // empty: nothing on stderr
    QTest::addColumn<QByteArray>("added");    // the lines after the database's own

    const QByteArray rows = "[Processor]\nOld CPU=100,100\nTest CPU=450,450\n[Memory]\n"
                            "Ваши 2048 Mb=5000\n[Video]\nTest display=700\n[Drive]\n"
                            "Drive /=80000\n";
    QTest::newRow("result") << "result" << 0 << "" << rows;
    // The scores formed again against the DATA the rows go to.
    QTest::newRow("result, other DATA")
        << "rescored" << 0 << ""
        << QByteArray("[Processor]\nOld CPU=100,100\nTest CPU=225,450\n[Memory]\n"
                      "Ваши 2048 Mb=5000\n[Video]\nTest display=700\n[Drive]\nDrive /=80000\n");
    // The result's own user and host names leave its descriptions.
    QTest::newRow("anonymous") << "anonymous" << 0 << ""
                               << QByteArray(
                                      "[Processor]\nOld CPU=100,100\nTest CPU=450,450\n[Memory]\n"
                                      "Ваши 2048 Mb=5000\n[Video]\nTest display=700\n[Drive]\n"
                                      "Drive /anonymous/data=80000\nDrive /media/anonymous=1\n");
    QTest::newRow("other version") << "old" << 2 << "measured by version 0.9" << QByteArray();
    QTest::newRow("other version, --force") << "old force" << 0 << "" << rows;
    QTest::newRow("backing store")
        << "backing" << 2 << "filled into a backing store" << QByteArray();
    QTest::newRow("backing store, --force")
        << "backing force" << 0 << ""
        << QByteArray("[Processor]\nOld CPU=100,100\nTest CPU=450,450\n[Memory]\n"
                      "Ваши 2048 Mb=5000\n[Drive]\nDrive /=80000\n");
    QTest::newRow("foreign JSON") << "foreign" << 2 << "foreign file" << QByteArray();
    QTest::newRow("broken JSON") << "broken" << 2 << "broken result file (not JSON" << QByteArray();
    QTest::newRow("NaN figure") << "nan" << 2 << "broken result file" << QByteArray();
    QTest::newRow("1e300 figure") << "huge figure" << 2 << "outside the range of a bar"
                                  << QByteArray();
    QTest::newRow("text file") << "text" << 2 << "neither a result the report saved nor a base.ini"
                               << QByteArray();
    QTest::newRow("FIFO") << "fifo" << 2 << "not a regular file" << QByteArray();
    QTest::newRow("directory") << "directory" << 2 << "not a regular file" << QByteArray();
    QTest::newRow("missing") << "missing" << 2 << "cannot be read" << QByteArray();
    QTest::newRow("over 16 MiB") << "large" << 2 << "larger than 16 MiB" << QByteArray();
    QTest::newRow("base.ini, same DATA")
        << "ini" << 0 << ""
        << QByteArray("[Processor]\nOld CPU=100,100\nOther CPU=200,300\n"
                      "[Memory]\nOther 4096 Mb=7000\n");
    // A pass counts four times as much under that DATA as under this one.
    QTest::newRow("base.ini, other DATA")
        << "ini rescaled" << 0 << ""
        << QByteArray("[Processor]\nOld CPU=100,100\nOther CPU=1600,300\n"
                      "[Memory]\nOther 4096 Mb=7000\n");
    QTest::newRow("control characters, '=' and a bad value")
        << "ini hostile" << 0 << ""
        << QByteArray("[Processor]\nOld CPU=100,100\n[Memory]\nFast one=7000\n");
}

void TestAddReference::files()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QString, errContains);
    QFETCH(QByteArray, added);

    AddFixture f;
    QByteArray base = kDatabase;
    if (kind == "rescored")
        f.write("base.ini", base.replace("PIIMultCPU=400", "PIIMultCPU=800"));
    QJsonObject result = Result();
    QString file = f.directory.filePath("given");
    if (kind.startsWith("old"))
        result.insert("version", "0.9");
    if (kind.startsWith("backing"))
        SetMember(result, "results.video.method", kVideoMethodBackingStore);
    if (kind == "foreign")
        result.insert("program", "Something else");
    if (kind == "anonymous") {
        SetMember(result, "overview.userName", "alice");
        SetMember(result, "overview.computerName", "box1");
        QJsonObject results = result.value("results").toObject();
        QJsonObject home = results.value("drives").toArray().at(0).toObject();
        home.insert("drive", "Drive /home/alice/data");
        QJsonObject media = home;
        media.insert("drive", "Drive /media/box1");
        media.insert("median", 1);
        results.insert("drives", QJsonArray{home, media});
        result.insert("results", results);
    }
    if (kind == "huge figure")
        SetMember(result, "results.memory.median", 1e300);
    const QByteArray data = Json(result);
    if (kind == "broken")
        f.write("given", data.left(data.size() / 2));
    else if (kind == "nan")
        f.write("given", QByteArray(data).replace("\"median\": 5000", "\"median\": NaN"));
    else if (kind == "text")
        f.write("given", "just some notes\nnothing = here\n");
    else if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (kind == "directory")
        QVERIFY(QDir(f.directory.path()).mkdir("given"));
    else if (kind == "large")
        f.write("given", QByteArray(16 * 1024 * 1024 + 1, ' ') + data);
    else if (kind == "ini")
        f.write("given", kDatabase + "Other CPU=200,300\n[Memory]\nOther 4096 Mb=7000\n");
    else if (kind == "ini rescaled")
        f.write("given", "[DATA]\nPIIMultCPU=800\nPIIMultFPU=200\nPIIFreq=150\n[Processor]\n"
                         "Other CPU=400,150\n[Memory]\nOther 4096 Mb=7000\n");
    else if (kind == "ini hostile")
        f.write("given", "[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\n"
                         "Bad=fast,faster\n[Memory]\nFast\x01one\x7f=7000\nSlow=x\n");
    else if (kind != "missing")
        f.write("given", data);

    QCOMPARE(f.run({file}, kind.endsWith("force"), kind == "anonymous"), status);
    const QString errors = QString::fromUtf8(f.err.data());
    if (errContains.isEmpty())
        QCOMPARE(errors, QString());
    else
        QVERIFY2(errors.startsWith(file + ": ") && errors.contains(errContains),
                 qPrintable(errors));
    // DATA and the comment stay; a refused file changes nothing.
    const QByteArray expected =
        added.isEmpty() ? base : base.left(base.indexOf("[Processor]")) + added;
    QCOMPARE(f.bytes(), expected);
}

// Identical rows are skipped, clashing descriptions made distinct, as keys match.
void TestAddReference::merge_data()
{
    QTest::addColumn<QList<DatabaseRow>>("present");
    QTest::addColumn<QStringList>("given"); // memory rows, key=value
    QTest::addColumn<QStringList>("added");

    using Rows = QList<DatabaseRow>;
    QTest::newRow("new") << Rows{{"A", "1"}} << QStringList{"B=2"} << QStringList{"B=2"};
    QTest::newRow("identical") << Rows{{"A", "1"}} << QStringList{"A=1"} << QStringList{};
    QTest::newRow("identical, other case and blanks")
        << Rows{{"Ab", " 1"}} << QStringList{"aB=1"} << QStringList{};
    QTest::newRow("clash") << Rows{{"A", "1"}} << QStringList{"A=2"} << QStringList{"A (2)=2"};
    QTest::newRow("clash, suffix taken")
        << Rows{{"A", "1"}, {"A (2)", "3"}} << QStringList{"A=2"} << QStringList{"A (3)=2"};
    QTest::newRow("clash, already added with suffix")
        << Rows{{"A", "1"}, {"A (2)", "2"}} << QStringList{"A=2"} << QStringList{};
    QTest::newRow("same row twice in the files")
        << Rows{} << QStringList{"A=1", "A=1", "A=2"} << QStringList{"A=1", "A (2)=2"};
}

void TestAddReference::merge()
{
    QFETCH(QList<DatabaseRow>, present);
    QFETCH(QStringList, given);
    QFETCH(QStringList, added);

    DatabaseLists lists;
    lists.memory = present;
    QList<ReferenceRow> rows;
    for (const QString& row : given)
        rows << ReferenceRow{lkMemory, row.section('=', 0, 0), row.section('=', 1)};
    const ReferenceMerge merge = MergeReferenceRows(lists, rows);
    QStringList written;
    for (const DatabaseRow& row : merge.added.memory)
        written << row.key + '=' + row.value;
    QCOMPARE(written, added);
    QCOMPARE(merge.addedCount, added.size());
    QCOMPARE(merge.lines.size(), given.size());
    QVERIFY(merge.added.processor.isEmpty() && merge.added.drive.isEmpty());
}

// One refused file among good ones: nothing is added.
void TestAddReference::allOrNothing()
{
    AddFixture f;
    const QString good = f.write("good.json", Json(Result()));
    const QString foreign = f.write("foreign.json", "{\"program\": \"Other\"}");
    QCOMPARE(f.run({good, foreign}), kExitUnusableResult);
    QCOMPARE(f.bytes(), kDatabase);
    QVERIFY(f.err.data().contains("Nothing was added."));
    // A name that is not UTF-8 is named by its own bytes.
    const QString odd = FileNameText(QFile::encodeName(f.directory.path()) + "/r\xff.json");
    {
        std::ofstream copy(FileNameBytes(odd).toStdString(), std::ios::binary);
        copy << Json(Result()).toStdString();
        QVERIFY(copy.good());
    }
    QCOMPARE(f.run({odd, odd}), 0);
    QVERIFY(f.out.data().contains("skipped [Memory]"));
    QVERIFY(f.out.data().endsWith("4 rows added to " + QFile::encodeName(f.database) +
                                  ", 4 skipped\n"));
}

// A database that cannot take the rows is named with the reason; nothing is
// written, not even a new file in place of a missing one.
void TestAddReference::unusableDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing" << QByteArray() << "does not exist";
    QTest::newRow("directory") << "directory" << QByteArray() << "it is a directory";
    QTest::newRow("UTF-16") << "file" << QByteArray("\xFF\xFE[\0D\0") << "UTF-16";
    QTest::newRow("no DATA") << "file" << QByteArray("[Processor]\nOld CPU=100,100\n")
                             << "no usable DATA value for PIIMultCPU, PIIMultFPU, PIIFreq";
    QTest::newRow("PIIFreq 0") << "file"
                               << QByteArray("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=0\n")
                               << "no usable DATA value for PIIFreq";
}

void TestAddReference::unusableDatabase()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);

    AddFixture f;
    const QString given = f.write("given.json", Json(Result()));
    QVERIFY(QFile::remove(f.database));
    if (kind == "directory")
        QVERIFY(QDir(f.directory.path()).mkdir("base.ini"));
    else if (kind == "file")
        f.write("base.ini", contents);

    QCOMPARE(f.run({given}), kExitUnusableResult);
    const QString errors = QString::fromUtf8(f.err.data());
    QVERIFY2(errors.startsWith(f.database + ": ") && errors.contains(reason) &&
                 errors.contains("Nothing was added."),
             qPrintable(errors));
    QVERIFY(f.out.data().isEmpty());
    if (kind == "missing")
        QVERIFY(!QFileInfo::exists(f.database));
    else if (kind == "file")
        QCOMPARE(f.bytes(), contents);
}

void TestAddReference::anonymiser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("home folder") << "Drive /home/alice/data"
                                 << "Drive /anonymous/data";
    QTest::newRow("home itself") << "Drive /srv/u7"
                                 << "Drive /anonymous";
    QTest::newRow("not a prefix") << "Drive /srv/u77"
                                  << "Drive /srv/u77";
    QTest::newRow("user in a path") << "Drive /media/alice"
                                    << "Drive /media/anonymous";
    QTest::newRow("host in a path") << "/mnt/box1/x"
                                    << "/mnt/anonymous/x";
    QTest::newRow("names in prose stay") << "alice at box1"
                                         << "alice at box1";
    QTest::newRow("longer name stays") << "/media/alice2"
                                       << "/media/alice2";
    QTest::newRow("quoted path") << "'/home/alice/x' is full"
                                 << "'/anonymous/x' is full";
}

void TestAddReference::anonymiser()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Anonymiser anonymiser;
    anonymiser.add({{"alice", "box1", "anonymous"}, {"/home/alice/", "/srv/u7", "/", "rel"}});
    QCOMPARE(anonymiser.homes, (QStringList{"/home/alice", "/srv/u7"}));
    QCOMPARE(anonymiser.apply(text), shown);
}

// A result that names no user: /home itself is no home folder.
void TestAddReference::anonymousResultKeepsOtherPaths()
{
    AddFixture f;
    QJsonObject result = Result();
    SetMember(result, "overview.userName", "");
    QJsonObject results = result.value("results").toObject();
    QJsonObject drive = results.value("drives").toArray().at(0).toObject();
    drive.insert("drive", "Drive /home/shared");
    results.insert("drives", QJsonArray{drive});
    result.insert("results", results);
    const QString file = f.write("result.json", Json(result));
    QCOMPARE(f.run({file}, false, true), 0);
    QVERIFY2(f.bytes().contains("\nDrive /home/shared=80000\n"), f.bytes().constData());
}

// --anonymous: no private name in the log, the JSON or the rows.
void TestAddReference::anonymousReport_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("anonymous");
    QTest::newRow("log") << "log" << true;
    QTest::newRow("JSON") << "json" << true;
    QTest::newRow("rows") << "ini" << true;
    QTest::newRow("JSON, names kept") << "json" << false;
}

void TestAddReference::anonymousReport()
{
    QFETCH(QString, format);
    QFETCH(bool, anonymous);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/tester");
    ReportFixture f;
    f.driveEntries = {"Drive /", "Drive /home/tester/data"};
    ReportOptions options;
    options.json = format == "json";
    options.ini = format == "ini";
    options.anonymous = anonymous;
    const int status = f.run(options);
    qputenv("HOME", home);
    QCOMPARE(status, 0);
    const QString out = f.out();
    QCOMPARE(out.contains("tester"), !anonymous);
    QCOMPARE(out.contains("testhost"), !anonymous && format != "ini");
    QCOMPARE(out.contains("Drive /anonymous/data"), anonymous);
    if (format == "json")
        QCOMPARE(QJsonDocument::fromJson(out.toUtf8())["anonymous"].toBool(!anonymous), anonymous);
    if (format == "log")
        QVERIFY(out.contains("Comp name : anonymous") && out.contains("User name : anonymous"));
}

// A shipped row names the machine its result was measured on, or is not made.
void TestAddReference::shippedRows_data()
{
    QTest::addColumn<QJsonValue>("threads");
    QTest::addColumn<QJsonValue>("hypervisor");
    QTest::addColumn<QString>("machine"); // empty: refused
    QTest::addColumn<QString>("error");

    QTest::newRow("virtual") << QJsonValue(2) << QJsonValue(true)
                             << "2 CPUs, virtual, quorvix " + ProgramVersion() << "";
    QTest::newRow("bare metal") << QJsonValue(1) << QJsonValue(false)
                                << "1 CPU, bare metal, quorvix " + ProgramVersion() << "";
    QTest::newRow("no context") << QJsonValue() << QJsonValue(true) << ""
                                << "does not say how many CPUs ran";
    QTest::newRow("no hypervisor member") << QJsonValue(4) << QJsonValue() << ""
                                          << "does not say whether a hypervisor was there";
}

void TestAddReference::shippedRows()
{
    QFETCH(QJsonValue, threads);
    QFETCH(QJsonValue, hypervisor);
    QFETCH(QString, machine);
    QFETCH(QString, error);

    AddFixture f;
    QJsonObject result = Result();
    if (!threads.isNull())
        SetMember(result, "insight.allCore.threads", threads);
    SetMember(result, "environment.hypervisor",
              hypervisor.isNull() ? QJsonValue::Undefined : hypervisor);
    const QString file = f.write("result.json", Json(result));
    try {
        const QStringList rows = ShippedRows(file, {400, 200, 300, {}, {}, {}});
        QVERIFY2(error.isEmpty(), qPrintable(rows.join('\n')));
        QCOMPARE(rows, (QStringList{"[Processor]", "Test CPU (" + machine + ")=450,450", "[Memory]",
                                    "Ваши 2048 Mb (" + machine + ")=5000", "[Video]",
                                    "Test display (" + machine + ")=700", "[Drive]",
                                    "Drive / (" + machine + ")=80000"}));
    } catch (const ResultFileError& refused) {
        QVERIFY2(!error.isEmpty() && QString(refused.what()).contains(error), refused.what());
    }
}
