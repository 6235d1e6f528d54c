// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_results.h"

#include "SavedResults.h"

#include "results/Comparison.h"
#include "results/ComparisonOutput.h"
#include "results/DriveInsight.h"
#include "results/NoiseTest.h"

#include <QJsonArray>
#include <QTest>

using namespace report;

Q_DECLARE_METATYPE(report::Verdict)

namespace {

const QList<double> kSteady{1000, 1012, 991, 1006, 995};
const QList<int> kSteadyInts{1000, 1012, 991, 1006, 995};

const ComparedCell& memoryCell(const Comparison& comparison, int result)
{
    for (const ComparedFigure& figure : comparison.figures)
        if (figure.name == "Memory")
            return figure.cells[result];
    qFatal("no memory row");
}

// A memory figure of these runs; its median is the runs' own.
QJsonObject memoryRuns(const QList<double>& runs)
{
    QJsonArray values;
    for (const double run : runs)
        values.append(run);
    return QJsonObject{{"unit", "MiB/s"}, {"runs", values}};
}

// A result whose memory runs are `runs`.
SavedResult withMemory(const QList<double>& runs)
{
    QJsonObject document = SavedDocument(kSteadyInts);
    SetMember(document, "results.memory", memoryRuns(runs));
    return Read(document);
}

} // namespace

void TestComparison::noiseTest_data()
{
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QList<double>>("after");
    QTest::addColumn<double>("p"); // -1: no test
    QTest::addColumn<double>("tolerance");

    // The p values are Student's t distribution's as an arbitrary-precision
    // library computes them: large and small t, integral and fractional
    // degrees of freedom.
    QTest::newRow("a clear shift")
        << kSteady << QList<double>{901, 912, 893, 905, 896} << 5.3063948e-8 << 1e-14;
    QTest::newRow("lost in the noise")
        << QList<double>{1000, 1100, 900, 1050, 950} << QList<double>{990, 1080, 920, 1040, 960}
        << 0.965932625788 << 1e-9;
    QTest::newRow("textbook: t 3.674 at 4 degrees")
        << QList<double>{1, 2, 3} << QList<double>{4, 5, 6} << 0.0213116411288 << 1e-9;
    QTest::newRow("identical runs") << kSteady << kSteady << 1.0 << 0.0;
    QTest::newRow("no spread, same")
        << QList<double>{7, 7, 7} << QList<double>{7, 7, 7} << 1.0 << 0.0;
    QTest::newRow("no spread, one less")
        << QList<double>{7, 7, 7} << QList<double>{6, 6, 6} << 0.0 << 0.0;
    QTest::newRow("a single run") << QList<double>{1000} << QList<double>{500} << -1.0 << 0.0;
    QTest::newRow("two runs") << QList<double>{1, 2} << QList<double>{4, 5, 6} << -1.0 << 0.0;
}

void TestComparison::noiseTest()
{
    QFETCH(QList<double>, before);
    QFETCH(QList<double>, after);
    QFETCH(double, p);
    QFETCH(double, tolerance);

    const std::optional<NoiseTest> test = WelchTest(before, after);
    QCOMPARE(test.has_value(), p >= 0);
    if (test)
        QVERIFY2(std::abs(test->p - p) <= tolerance, qPrintable(QString::number(test->p)));
}

void TestComparison::verdicts_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<bool>("worse"); // the exit status: 3 when set

    const QList<int> slower{901, 912, 893, 905, 896};
    const QList<int> faster{1101, 1112, 1093, 1105, 1096};
    QTest::newRow("10 % slower, beyond noise")
        << kSteadyInts << slower << 5.0 << Verdict::Worse << true;
    QTest::newRow("10 % slower, within 15 %")
        << kSteadyInts << slower << 15.0 << Verdict::SlightlyWorse << false;
    QTest::newRow("10 % faster") << kSteadyInts << faster << 5.0 << Verdict::Better << false;
    QTest::newRow("10 % lower in the noise")
        << QList<int>{1000, 1300, 700, 1200, 800} << QList<int>{900, 1200, 600, 1100, 700} << 5.0
        << Verdict::WithinNoise << false;
    QTest::newRow("identical runs")
        << kSteadyInts << kSteadyInts << 0.0 << Verdict::WithinNoise << false;
    QTest::newRow("single runs, halved")
        << QList<int>{1000} << QList<int>{500} << 5.0 << Verdict::SpreadUnknown << false;
    QTest::newRow("zero: not measured")
        << QList<int>{0, 0, 0} << slower << 5.0 << Verdict::NotMeasured << false;
}

void TestComparison::verdicts()
{
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(double, threshold);
    QFETCH(Verdict, verdict);
    QFETCH(bool, worse);

    const Comparison comparison =
        CompareResults({Read(SavedDocument(before)), Read(SavedDocument(after))}, threshold);
    QCOMPARE(memoryCell(comparison, 0).verdict, Verdict::Baseline);
    QCOMPARE(memoryCell(comparison, 1).verdict, verdict);
    QCOMPARE(comparison.worse, worse);
}

void TestComparison::warnings_data()
{
    QTest::addColumn<QString>("member"); // changed in the second result
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("warning"); // empty: none

    QTest::newRow("program version") << "version" << QJsonValue("1.04") << "by version 1.04";
    QTest::newRow("processor") << "environment.processor" << QJsonValue("Other CPU")
                               << "different processors (Fake CPU; Other CPU)";
    QTest::newRow("hypervisor") << "environment.hypervisor" << QJsonValue(true)
                                << "testhost 2026-12-07 15:20:31 (other.json) ran under a "
                                   "hypervisor, testhost 2026-12-07 15:20:31 (saved.json) did not";
    QTest::newRow("governor") << "environment.governor" << QJsonValue("powersave")
                              << "governor other than \"performance\"";
    QTest::newRow("no governor on either") << "environment.governor" << QJsonValue() << "";
    QTest::newRow("load") << "environment.loadAverage" << QJsonValue(1.5)
                          << "started at a load average above 0.5";
    QTest::newRow("priority") << "environment.priority" << QJsonValue("neither")
                              << "measured at normal priority";
    QTest::newRow("clock") << "environment.publishedTick" << QJsonValue(false)
                           << "with the clock, not the published tick";
    QTest::newRow("unknown environment")
        << "environment" << QJsonValue(QJsonValue::Undefined) << "";
    QTest::newRow("reference machine") << "reference.PIIFreq" << QJsonValue(600)
                                       << "(DATA 400/200/300 and 400/200/600): compare their "
                                          "CPU and FPU passes";
}

void TestComparison::warnings()
{
    QFETCH(QString, member);
    QFETCH(QJsonValue, value);
    QFETCH(QString, warning);

    QJsonObject other = SavedDocument(kSteadyInts);
    SetMember(other, member, value);
    if (member.startsWith("reference")) // scores double with the reference score
        for (const char* key : {"cpu", "fpu"})
            SetMember(other, QStringLiteral("results.%1.median").arg(key), 900);
    const Comparison comparison =
        CompareResults({Read(SavedDocument(kSteadyInts)), Read(other, "other.json")});
    QCOMPARE(comparison.warnings.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(comparison.warnings.front().contains(warning),
                 qPrintable(comparison.warnings.front()));
    // Scores against another reference are not judged; the pass counts are.
    const bool reference = member.startsWith("reference");
    QCOMPARE(comparison.figures[0].cells[1].verdict,
             reference ? Verdict::NotComparable : Verdict::WithinNoise);
    QCOMPARE(comparison.figures[1].name, "CPU passes");
    QCOMPARE(comparison.figures[1].cells[1].verdict, Verdict::WithinNoise);
    QVERIFY(!comparison.worse);
}

void TestComparison::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error"); // empty: read
    QTest::addColumn<QStringList>("figures");

    const QJsonObject current = SavedDocument({1000, 1010, 990});
    const QByteArray currentBytes = QJsonDocument(current).toJson();
    QTest::newRow("current") << currentBytes << ""
                             << QStringList{"CPU score", "CPU passes", "FPU score", "FPU passes",
                                            "Memory",    "Video",      "Drive /"};
    QJsonObject older = current;
    for (const char* member :
         {"schemaVersion", "time", "environment", "reference", "results.cpu.passes", "results.fpu",
          "results.drives", "results.memory.runs"})
        SetMember(older, member, QJsonValue::Undefined);
    QTest::newRow("older, members missing")
        << QJsonDocument(older).toJson() << "" << QStringList{"CPU score", "Memory", "Video"};
    QJsonObject unscored = current; // no reference machine, no display
    for (const char* member : {"results.cpu.runs", "results.cpu.median", "results.video"})
        SetMember(unscored, member, QJsonValue::Null);
    QTest::newRow("scores without a reference, video skipped")
        << QJsonDocument(unscored).toJson() << ""
        << QStringList{"CPU passes", "FPU score", "FPU passes", "Memory", "Drive /"};
    QJsonObject textRun = current;
    SetMember(textRun, "results.memory.runs", QJsonArray{"fast"});
    QTest::newRow("broken: text for a figure")
        << QJsonDocument(textRun).toJson()
        << "saved.json: broken result file (results.memory.runs is not a number)" << QStringList{};
    QByteArray tooLarge = currentBytes;
    tooLarge.replace("\"median\": 1000", "\"median\": 1e999");
    QTest::newRow("broken: a figure beyond any number")
        << tooLarge << "saved.json: broken result file (" << QStringList{};
    QTest::newRow("broken: cut short")
        << currentBytes.left(300) << "saved.json: broken result file (not JSON: " << QStringList{};
    QJsonObject otherProgram = current;
    otherProgram["program"] = "Other bench";
    QTest::newRow("foreign: another program")
        << QJsonDocument(otherProgram).toJson()
        << "saved.json: foreign file, not a result the report saved" << QStringList{};
    QJsonObject newer = current;
    newer["schemaVersion"] = kResultSchemaVersion + 1;
    QTest::newRow("newer schema") << QJsonDocument(newer).toJson()
                                  << "saved.json: written by a newer version" << QStringList{};
}

void TestComparison::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QStringList, figures);

    try {
        const SavedResult result = ReadSavedResult(bytes, "saved.json");
        QVERIFY2(error.isEmpty(), "read a file it should have refused");
        QStringList names;
        for (const SavedFigure& figure : result.figures)
            names << figure.name;
        QCOMPARE(names, figures);
        QCOMPARE(*result.figure("Memory")->median, 1000.0);
        QCOMPARE(result.machine, "testhost");
        // An older file still compares with a current one, without a verdict
        // where it kept no runs.
        const Comparison comparison =
            CompareResults({Read(SavedDocument({1000, 1010, 990})), result});
        QCOMPARE(memoryCell(comparison, 1).verdict, result.figure("Memory")->runs.isEmpty()
                                                        ? Verdict::SpreadUnknown
                                                        : Verdict::WithinNoise);
    } catch (const ResultFileError& raised) {
        QVERIFY2(!error.isEmpty() && QString(raised.what()).startsWith(error), raised.what());
    }
}

void TestComparison::outOfRange_data()
{
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QList<double>>("after");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("1e300 larger, spread overflows")
        << kSteady << QList<double>{1e300, 2e300, 3e300} << Verdict::OutOfRange;
    QTest::newRow("largest figures: the mean overflows")
        << kSteady << QList<double>{1.7e308, 1.6e308, 1.7e308} << Verdict::OutOfRange;
    QTest::newRow("largest figures, a single run each: the change overflows")
        << QList<double>{1e-300} << QList<double>{1e300} << Verdict::OutOfRange;
    QTest::newRow("large but steady: a real verdict")
        << kSteady << QList<double>{1e300, 1e300, 1e300} << Verdict::Better;
}

void TestComparison::outOfRange()
{
    QFETCH(QList<double>, before);
    QFETCH(QList<double>, after);
    QFETCH(Verdict, verdict);

    const Comparison comparison = CompareResults({withMemory(before), withMemory(after)});
    const ComparedCell& cell = memoryCell(comparison, 1);
    QCOMPARE(cell.verdict, verdict);
    QCOMPARE(cell.change.has_value(), verdict != Verdict::OutOfRange);
    QVERIFY(!comparison.worse);
    if (verdict == Verdict::OutOfRange)
        QVERIFY2(ComparisonLines({withMemory(before), withMemory(after)}, comparison)
                     .filter("Memory")
                     .constFirst()
                     .endsWith("out of range"),
                 "the row says why it has no verdict");
}

void TestComparison::videoMethods_data()
{
    QTest::addColumn<QJsonValue>("before");
    QTest::addColumn<QJsonValue>("after");
    QTest::addColumn<Verdict>("verdict");

    const QJsonValue server("X server fills");
    const QJsonValue backing("backing store (not comparable with X server fills)");
    QTest::newRow("both X server") << server << server << Verdict::WithinNoise;
    QTest::newRow("both backing store") << backing << backing << Verdict::WithinNoise;
    QTest::newRow("X server against backing store") << server << backing << Verdict::OtherMethod;
    QTest::newRow("backing store against X server") << backing << server << Verdict::OtherMethod;
    QTest::newRow("an older file without a method")
        << QJsonValue(QJsonValue::Undefined) << server << Verdict::WithinNoise;
}

void TestComparison::videoMethods()
{
    QFETCH(QJsonValue, before);
    QFETCH(QJsonValue, after);
    QFETCH(Verdict, verdict);

    QJsonObject first = SavedDocument(kSteadyInts);
    QJsonObject second = SavedDocument(kSteadyInts);
    SetMember(first, "results.video.runs", QJsonArray{700, 705, 698});
    SetMember(second, "results.video.runs", QJsonArray{300, 305, 298}); // far slower
    SetMember(first, "results.video.median", QJsonValue::Undefined);
    SetMember(second, "results.video.median", QJsonValue::Undefined);
    SetMember(first, "results.video.method", before);
    SetMember(second, "results.video.method", after);
    const Comparison comparison = CompareResults({Read(first), Read(second)});
    const ComparedFigure& video = comparison.figures[5];
    QCOMPARE(video.name, "Video");
    QCOMPARE(video.cells[1].verdict, verdict == Verdict::WithinNoise ? Verdict::Worse : verdict);
    QCOMPARE(comparison.worse, verdict == Verdict::WithinNoise);
}

void TestComparison::distinctNames_data()
{
    QTest::addColumn<QList<qint64>>("seconds"); // after the first result's time
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("names");

    using S = QList<qint64>;
    using L = QStringList;
    QTest::newRow("other minutes: as they were")
        << S{0, 60} << L{"a.json", "b.json"}
        << L{"testhost 2026-12-07 15:20", "testhost 2026-12-07 15:21"};
    QTest::newRow("one minute: seconds added")
        << S{0, 7, 60} << L{"a.json", "b.json", "c.json"}
        << L{"testhost 2026-12-07 15:20:31", "testhost 2026-12-07 15:20:38",
             "testhost 2026-12-07 15:21"};
    QTest::newRow("one second: the file's name added")
        << S{0, 0} << L{"/x/a.json", "/y/b.json"}
        << L{"testhost 2026-12-07 15:20:31 (a.json)", "testhost 2026-12-07 15:20:31 (b.json)"};
    QTest::newRow("one file twice: the place added")
        << S{0, 0} << L{"a.json", "a.json"}
        << L{"testhost 2026-12-07 15:20:31 (a.json) #1",
             "testhost 2026-12-07 15:20:31 (a.json) #2"};
}

void TestComparison::distinctNames()
{
    QFETCH(QList<qint64>, seconds);
    QFETCH(QStringList, files);
    QFETCH(QStringList, names);

    QList<SavedResult> results;
    for (qsizetype i = 0; i < seconds.size(); ++i) {
        QJsonObject document = SavedDocument(kSteadyInts);
        document["time"] = QDateTime({2026, 12, 7}, {15, 20, 31}, Qt::UTC)
                               .addSecs(seconds[i])
                               .toString(Qt::ISODate);
        results << Read(document, files[i]);
    }
    const Comparison comparison = CompareResults(results);
    QCOMPARE(comparison.names, names);
    const QStringList lines = ComparisonLines(results, comparison);
    for (const QString& name : names)
        QVERIFY2(lines[results.size() + 1].contains(name), qPrintable(lines.join('\n')));
    const QJsonArray about = ComparisonJson(results, comparison)["results"].toArray();
    QCOMPARE(about.last()["name"].toString(), names.last());
}

void TestComparison::namesInTheTable_data()
{
    QTest::addColumn<QString>("member"); // of the second result
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("shown"); // what the table holds instead

    const QString huge(1 << 20, QLatin1Char('n'));
    QTest::newRow("a machine name of a megabyte")
        << "overview.computerName" << QJsonValue(huge)
        << QString(22, 'n') + "..." + QString(6, 'n') + " 2026-12-07 15:20";
    QTest::newRow("a drive name of a megabyte")
        << "results.drives"
        << QJsonValue(QJsonArray{QJsonObject{
               {"drive", "Drive /" + huge}, {"unit", "KiB/s"}, {"runs", QJsonArray{8}}}})
        << "Drive /" + QString(15, 'n') + "..." + QString(23, 'n');
    QTest::newRow("a terminal title set by the machine name")
        << "overview.computerName" << QJsonValue("evil\u001b]0;owned\u0007host")
        << "evil\\033]0;owned\\007host";
    QTest::newRow("a screen cleared by a drive name")
        << "results.drives"
        << QJsonValue(QJsonArray{QJsonObject{
               {"drive", "Drive /x\u001b[2J"}, {"unit", "KiB/s"}, {"runs", QJsonArray{8}}}})
        << "Drive /x\\033[2J";
    QTest::newRow("an 8-bit control sequence in the unit")
        << "results.memory.unit" << QJsonValue("MiB/s\u009b2J") << "MiB/s\\302\\2332J";
}

void TestComparison::namesInTheTable()
{
    QFETCH(QString, member);
    QFETCH(QJsonValue, value);
    QFETCH(QString, shown);

    QJsonObject first = SavedDocument(kSteadyInts);
    SetMember(first, member, value);
    const QList<SavedResult> results{Read(first), Read(SavedDocument(kSteadyInts))};
    const Comparison comparison = CompareResults(results);
    const QString text = ComparisonLines(results, comparison).join('\n');
    QVERIFY2(text.contains(shown), qPrintable(text.left(2000)));
    // Every line short, nothing a terminal obeys.
    for (const QString& line : text.split('\n'))
        QVERIFY2(line.size() < 300, qPrintable(line.left(300)));
    for (const QChar c : text)
        QVERIFY(c == '\n' || (c.unicode() >= 0x20 && c.unicode() != 0x7F &&
                              (c.unicode() < 0x80 || c.unicode() >= 0xA0)));
    // The JSON keeps the names whole.
    const QJsonObject json = ComparisonJson(results, comparison).object();
    QStringList names{json["results"][0]["machine"].toString()};
    for (const QJsonValue& figure : json["figures"].toArray())
        names << figure["figure"].toString() << figure["unit"].toString();
    QVERIFY(names.contains(value.isArray() ? value.toArray()[0].toObject()["drive"].toString()
                                           : value.toString()));
}

namespace {

// A saved result whose drive "/" did every job at `iops`, each fifth of the
// window within 1 % of it, and in each of `runs` runs within 1 % of it (no
// runs: a file of a version that measured the drive once); the random reads
// at depth 1 flagged.
SavedResult withDriveContext(double iops, int runs)
{
    bench::DriveContextFigures figures;
    for (const bench::DriveJob job : bench::kDriveJobs) {
        bench::DriveJobFigure figure{job, 1.0, iops, 1.0, 1.0, 1.0, {}, {}, {}};
        figure.sliceIops = {iops * 0.99, iops, iops * 1.01, iops, iops};
        for (int run = 0; run < runs; ++run)
            figure.runIops.push_back(iops * (0.99 + 0.01 * run));
        if (job == bench::DriveJob::RandomRead1)
            figure.contradiction = "a cache answered";
        figures.jobs.push_back(figure);
    }
    QJsonObject document = SavedDocument({1000, 1000, 1000});
    document.insert("insight", QJsonObject{{"drives", report::DriveInsightJson({{"/", figures}})}});
    return ReadSavedResult(QJsonDocument(document).toJson(), "saved.json");
}

} // namespace

// The drives' figures in context are compared as the others; a flagged
// figure is not one.
void TestComparison::driveContextFigures_data()
{
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("verdict");
    // The window's fifths are no runs: a file with none has no spread.
    QTest::newRow("measured once") << 0 << int(Verdict::SpreadUnknown);
    QTest::newRow("measured in three runs") << 3 << int(Verdict::Worse);
}

void TestComparison::driveContextFigures()
{
    QFETCH(int, runs);
    QFETCH(int, verdict);
    const SavedResult before = withDriveContext(1000, runs);
    const SavedFigure* queued = before.figure("Drive / random read 4 KiB, depth 32");
    QVERIFY(queued != nullptr);
    QCOMPARE(queued->unit, "IOPS");
    QCOMPARE(queued->median, 1000.0);
    QCOMPARE(queued->runs.size(), runs);
    QVERIFY(before.figure("Drive / random read 4 KiB, depth 1") == nullptr);

    const Comparison comparison = CompareResults({before, withDriveContext(500, runs)});
    const auto found = std::find_if(
        comparison.figures.cbegin(), comparison.figures.cend(),
        [](const ComparedFigure& f) { return f.name == "Drive / 4 KiB write + fdatasync"; });
    QVERIFY(found != comparison.figures.cend());
    QCOMPARE(found->cells.value(1).change, -50.0);
    QCOMPARE(int(found->cells.value(1).verdict), verdict);
    QCOMPARE(comparison.worse, verdict == int(Verdict::Worse));
}
