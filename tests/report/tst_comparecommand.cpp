// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "ReportFixture.h"
#include "SavedResults.h"

#include "report/CompareCommand.h"
#include "results/ResultStore.h"
#include "session/FileNames.h"
#include "session/SaveLog.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <latch>
#include <thread>
#include <vector>

#include <sys/stat.h>

using namespace report;

namespace {

const QDateTime kRunTime({2026, 12, 7}, {15, 20, 31}, Qt::UTC);

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void TestCompareCommand::resultsDirectory_data()
{
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("directory");

    QTest::newRow("XDG_DATA_HOME") << "/data/"
                                   << "/home/u"
                                   << "/data/quorvix/results";
    QTest::newRow("unset") << ""
                           << "/home/u"
                           << "/home/u/.local/share/quorvix/results";
    QTest::newRow("relative: ignored") << "data"
                                       << "/home/u"
                                       << "/home/u/.local/share/quorvix/results";
    QTest::newRow("no usable HOME") << ""
                                    << "home"
                                    << "";
}

void TestCompareCommand::resultsDirectory()
{
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, home);
    QFETCH(QString, directory);
    QCOMPARE(ResultsDirectory(xdgDataHome, home), directory);
}

void TestCompareCommand::savedNamesSortByTime()
{
    const QTemporaryDir temporary;
    const QString directory = temporary.filePath("data/quorvix/results");
    const QString first = SaveResult(directory, kRunTime, "a");
    const QString second = SaveResult(directory, kRunTime, "b"); // the same second
    const QString earlier = SaveResult(directory, kRunTime.addDays(-1), "c");
    writeFile(directory + "/notes.json", "{}");
    QCOMPARE(QFileInfo(first).fileName(), "20261207T152031Z.json");
    QCOMPARE(QFileInfo(second).fileName(), "20261207T152031Z-2.json");
    QCOMPARE(KeptResults(directory), (QStringList{earlier, first, second}));
    QFile file(first);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "a");
    QCOMPARE(int(QFileInfo(directory).permissions() & 0x7777), 0x7700); // the owner's only
}

// Saves started at once each keep their own file under its own name.
void TestCompareCommand::concurrentSavesKeepEveryResult()
{
    constexpr int kSaves = 8;
    constexpr int kRounds = 4;
    const QTemporaryDir temporary;
    const QString directory = temporary.filePath("data/quorvix/results");
    for (int round = 0; round < kRounds; ++round) {
        std::vector<QString> paths(kSaves);
        std::vector<QString> errors(kSaves);
        std::latch start(kSaves);
        std::vector<std::thread> savers;
        for (int i = 0; i < kSaves; ++i)
            savers.emplace_back([&, i] {
                start.arrive_and_wait();
                try {
                    paths[i] =
                        SaveResult(directory, kRunTime.addSecs(round), QByteArray::number(i));
                } catch (const SaveError& error) {
                    errors[i] = error.what();
                }
            });
        for (std::thread& saver : savers)
            saver.join();
        for (int i = 0; i < kSaves; ++i) {
            QVERIFY2(errors[i].isEmpty(), qPrintable(errors[i]));
            QFile file(paths[i]);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray::number(i)); // its own, not another save's
        }
    }
    QCOMPARE(KeptResults(directory).size(), kSaves * kRounds);
}

void TestCompareCommand::saveNeverReplaces_data()
{
    QTest::addColumn<QString>("planted"); // at the name the save would take

    QTest::newRow("a file") << "file";
    QTest::newRow("a dangling symbolic link") << "dangling link";
    QTest::newRow("a link to a file") << "link";
    QTest::newRow("a directory") << "directory";
}

void TestCompareCommand::saveNeverReplaces()
{
    QFETCH(QString, planted);
    const QTemporaryDir temporary;
    const QString directory = temporary.filePath("results");
    const QString name = directory + "/20261207T152031Z.json";
    const QString outside = temporary.filePath("outside.json");
    QVERIFY(QDir().mkpath(directory));
    if (planted == "file")
        writeFile(name, "mine");
    if (planted == "link")
        writeFile(outside, "mine");
    if (planted.contains("link"))
        QVERIFY(QFile::link(outside, name));
    if (planted == "directory")
        QVERIFY(QDir().mkdir(name));

    const QString path = SaveResult(directory, kRunTime, "new");
    QCOMPARE(path, directory + "/20261207T152031Z-2.json");
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), "new");
    QCOMPARE(QFileInfo(name).isSymLink(), planted.contains("link"));
    QFile other(planted == "file" ? name : outside);
    QCOMPARE(other.open(QIODevice::ReadOnly), planted != "dangling link" && planted != "directory");
    if (other.isOpen())
        QCOMPARE(other.readAll(), "mine");
}

// XDG_DATA_HOME is a name of bytes, as the command line's are.
void TestCompareCommand::resultsDirectoryKeepsEveryByte()
{
    ReportFixture f;
    const QByteArray data = QFile::encodeName(f.directory.path()) + "/data\xff";
    const QByteArray results = data + "/quorvix/results";
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray was = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data);
    const QString directory = ResultsDirectory();
    f.setup.clock = [] { return kRunTime; };
    ReportOptions options;
    options.save = true;
    const int status = f.run(options);
    if (wasSet)
        qputenv("XDG_DATA_HOME", was);
    else
        qunsetenv("XDG_DATA_HOME");

    QCOMPARE(FileNameBytes(directory), results);
    QCOMPARE(status, 0);
    const QByteArray file = results + "/20261207T152031Z.json";
    QCOMPARE(f.errBuffer.data(), "Results saved to " + file + "\n");
    QVERIFY(std::filesystem::is_regular_file(file.toStdString()));
    const QStringList kept = KeptResults(directory);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(FileNameBytes(kept.front()), file);
    QCOMPARE(LoadSavedResult(kept.front()).machine, "testhost");
    std::filesystem::remove_all(data.toStdString()); // names Qt cannot decode
}

void TestCompareCommand::reportSavesItsJson()
{
    ReportFixture f;
    f.setup.resultsDirectory = f.directory.filePath("results");
    f.setup.clock = [] { return kRunTime; };
    ReportOptions options;
    options.save = true;
    QCOMPARE(f.run(options), 0);
    const QString path = f.directory.filePath("results/20261207T152031Z.json");
    QCOMPARE(f.err(), "Results saved to " + path + "\n");
    QVERIFY(f.out().startsWith("Test results\n")); // the log as without --save
    const SavedResult saved = LoadSavedResult(path);
    QCOMPARE(saved.time, kRunTime);
    QCOMPARE(*saved.figure("Memory")->median, 5000.0);

    // A file where the folder should be: status 1, the reason on stderr.
    f.setup.resultsDirectory = f.directory.filePath("base.ini/results");
    QCOMPARE(f.run(options), 1);
    QVERIFY2(f.err().startsWith("Cannot create folder "), qPrintable(f.err()));
}

void TestCompareCommand::compare_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<bool>("json");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out"); // texts the output holds
    QTest::addColumn<QString>("err");     // how stderr starts

    using L = QStringList;
    QTest::newRow("in the noise") << L{"base", "noisy"} << false << 0
                                  << L{"Memory      MiB/s      1000", "1001  +0.1 %  within noise"}
                                  << "";
    QTest::newRow("got worse") << L{"base", "slower"} << false << 3 << L{"  901  -9.9 %  worse"}
                               << "";
    QTest::newRow("three, side by side")
        << L{"base", "noisy", "slower"} << false << 3
        << L{"1.  testhost 2026-12-07 15:20:31 (base.json)    5 runs  version 1.03  ",
             "+0.1 %  within noise", "-9.9 %  worse"}
        << "";
    QTest::newRow("single runs") << L{"single", "single"} << false << 0
                                 << L{"spread unknown", "Note: a verdict needs 3 runs or more"}
                                 << "";
    QTest::newRow("as JSON") << L{"base", "slower"} << true << 3
                             << L{"\"verdict\": \"worse\"", "\"worse\": true"} << "";
    QTest::newRow("previous and last") << L{"previous", "last"} << false << 3 << L{"worse"} << "";
    QTest::newRow("broken file") << L{"base", "broken"} << false << 2 << L{}
                                 << "broken.json: broken result file";
    QTest::newRow("foreign file") << L{"foreign", "base"} << false << 2 << L{}
                                  << "foreign.json: foreign file";
    QTest::newRow("an endless device")
        << L{"base", "/dev/zero"} << false << 2 << L{} << "/dev/zero: not a regular file";
    QTest::newRow("a FIFO") << L{"base", "fifo"} << false << 2 << L{}
                            << "fifo.json: not a regular file";
    QTest::newRow("a FIFO, as JSON")
        << L{"fifo", "base"} << true << 2 << L{} << "fifo.json: not a regular file";
    QTest::newRow("a name that is not UTF-8")
        << L{"base", "bytes"} << false << 3 << L{"-9.9 %  worse"} << "";
    QTest::newRow("no such file") << L{"base", "none"} << false << 2 << L{}
                                  << "none.json: cannot be read";
}

void TestCompareCommand::compare()
{
    QFETCH(QStringList, results);
    QFETCH(bool, json);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QString, err);

    const QTemporaryDir temporary;
    const QDir dir(temporary.path());
    const auto save = [&](const QString& name, const QList<int>& memory) {
        writeFile(dir.filePath(name + ".json"), QJsonDocument(SavedDocument(memory)).toJson());
    };
    save("base", {1000, 1012, 991, 1006, 995});
    save("noisy", {1010, 990, 1003, 1001, 998});
    save("slower", {901, 912, 893, 905, 896});
    save("single", {1000});
    writeFile(dir.filePath("broken.json"), "{\"program\": \"Quorvix 2000\", ");
    writeFile(dir.filePath("foreign.json"), "{\"name\": \"something else\"}");
    const QString kept = dir.filePath("kept");
    SaveResult(kept, kRunTime, QJsonDocument(SavedDocument({1000, 1012, 991})).toJson());
    SaveResult(kept, kRunTime.addSecs(60), QJsonDocument(SavedDocument({901, 912, 893})).toJson());
    QVERIFY(mkfifo(QFile::encodeName(dir.filePath("fifo.json")).constData(), 0600) == 0);
    const QByteArray bytesName = QFile::encodeName(dir.path()) + "/r\xff.json";
    QVERIFY(std::filesystem::copy_file(QFile::encodeName(dir.filePath("slower.json")).toStdString(),
                                       bytesName.toStdString()));
    const auto removeBytesName = qScopeGuard([&bytesName] {
        std::filesystem::remove(bytesName.toStdString()); // a name Qt cannot decode
    });

    CompareOptions options;
    for (const QString& name : results)
        options.results << (name == "bytes" ? FileNameText(bytesName)
                            : name == "last" || name == "previous" || name.startsWith('/')
                                ? name
                                : dir.filePath(name + ".json"));
    options.json = json;
    QBuffer outBuffer;
    QBuffer errBuffer;
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    QCOMPARE(RunCompare(options, kept, outBuffer, errBuffer), status);
    const QString printed = QString::fromUtf8(outBuffer.data());
    const QString errors = QString::fromUtf8(errBuffer.data());
    for (const QString& text : out)
        QVERIFY2(printed.contains(text), qPrintable(printed));
    QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.startsWith(dir.filePath(err)),
             qPrintable(errors));
    if (json && status != 2)
        QCOMPARE(QJsonDocument::fromJson(outBuffer.data())["figures"].toArray().size(), 7);
}
