// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "report/CommandLine.h"
#include "report/ReportCommand.h"
#include "report/Tests.h"

#include <QBuffer>
#include <QSet>
#include <QTest>

using namespace report;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)
Q_DECLARE_METATYPE(QList<TestId>)

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("flags"); // j json, i ini, v verbose, s save, n no context
    QTest::addColumn<QString>("output");

    QTest::newRow("none: the window") << QStringList{} << Action::Window << "" << 1 << ""
                                      << "";
    QTest::newRow("--help") << QStringList{"--help"} << Action::Help << "" << 1 << ""
                            << "";
    QTest::newRow("-h") << QStringList{"-h"} << Action::Help << "" << 1 << ""
                        << "";
    QTest::newRow("--version") << QStringList{"--version"} << Action::Version << "" << 1 << ""
                               << "";
    QTest::newRow("--version --verbose")
        << QStringList{"--version", "--verbose"} << Action::Version << "" << 1 << "v"
        << "";
    QTest::newRow("--report") << QStringList{"--report"} << Action::Report << "" << 1 << ""
                              << "";
    QTest::newRow("--json alone runs") << QStringList{"--json"} << Action::Report << "" << 1 << "j"
                                       << "";
    QTest::newRow("--ini --verbose")
        << QStringList{"--ini", "--verbose"} << Action::Report << "" << 1 << "iv"
        << "";
    QTest::newRow("--save alone runs") << QStringList{"--save"} << Action::Report << "" << 1 << "s"
                                       << "";
    QTest::newRow("--no-context alone runs")
        << QStringList{"--no-context"} << Action::Report << "" << 1 << "n"
        << "";
    QTest::newRow("--json --no-context")
        << QStringList{"--json", "--no-context"} << Action::Report << "" << 1 << "jn"
        << "";
    QTest::newRow("--repeat 3") << QStringList{"--report", "--repeat", "3"} << Action::Report << ""
                                << 3 << ""
                                << "";
    QTest::newRow("--repeat=100") << QStringList{"--repeat=100", "--json"} << Action::Report << ""
                                  << 100 << "j"
                                  << "";
    QTest::newRow("--output") << QStringList{"--report", "--output", "log.txt"} << Action::Report
                              << "" << 1 << ""
                              << "log.txt";
    QTest::newRow("--repeat 0") << QStringList{"--repeat", "0"} << Action::Error
                                << "--repeat takes a whole number from 1 to 100, not '0'." << 1
                                << ""
                                << "";
    QTest::newRow("--repeat 101") << QStringList{"--repeat", "101"} << Action::Error
                                  << "--repeat takes a whole number from 1 to 100, not '101'." << 1
                                  << ""
                                  << "";
    QTest::newRow("--repeat x") << QStringList{"--repeat", "x"} << Action::Error
                                << "--repeat takes a whole number from 1 to 100, not 'x'." << 1
                                << ""
                                << "";
    QTest::newRow("--repeat -2") << QStringList{"--repeat=-2"} << Action::Error
                                 << "--repeat takes a whole number from 1 to 100, not '-2'." << 1
                                 << ""
                                 << "";
    QTest::newRow("--repeat without N") << QStringList{"--report", "--repeat"} << Action::Error
                                        << "Missing value after '--repeat'." << 1 << ""
                                        << "";
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << Action::Error << "Unknown option 'frobnicate'." << 1 << ""
        << "";
    QTest::newRow("abbreviation") << QStringList{"--rep"} << Action::Error
                                  << "Unknown option 'rep'." << 1 << ""
                                  << "";
    QTest::newRow("stray argument") << QStringList{"--report", "now"} << Action::Error
                                    << "Unexpected argument 'now'." << 1 << ""
                                    << "";
    QTest::newRow("--json with --ini") << QStringList{"--json", "--ini"} << Action::Error
                                       << "--json and --ini cannot be given together." << 1 << ""
                                       << "";
    QTest::newRow("--output - with --json")
        << QStringList{"--json", "--output", "-"} << Action::Error
        << "--output - writes the log to standard output, where --json and --ini write theirs." << 1
        << ""
        << "";
    QTest::newRow("--output empty")
        << QStringList{"--output="} << Action::Error << "--output needs a file name." << 1 << ""
        << "";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, error);
    QFETCH(int, repeat);
    QFETCH(QString, flags);
    QFETCH(QString, output);

    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.error, error);
    if (action == Action::Error)
        return;
    QCOMPARE(line.options.repeat, repeat);
    QCOMPARE(line.options.json, flags.contains('j'));
    QCOMPARE(line.options.ini, flags.contains('i'));
    QCOMPARE(line.options.context, !flags.contains('n'));
    QCOMPARE(line.options.verbose, flags.contains('v'));
    QCOMPARE(line.options.save, flags.contains('s'));
    QCOMPARE(line.options.output, output);
}

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errStart");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: quorvix [options]"
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << "quorvix " QUORVIX_PROJECT_VERSION "\n"
                             << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << ""
                                    << "Unknown option 'frobnicate'.\n\nUsage: quorvix [options]";
    QTest::newRow("--repeat 0") << QStringList{"--repeat", "0"} << 2 << ""
                                << "--repeat takes a whole number from 1 to 100, not '0'.\n\n"
                                   "Usage: quorvix";
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, errStart);

    QBuffer outBuffer;
    QBuffer errBuffer;
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(AnswerCommandLine(line, outBuffer, errBuffer), status);
    const QString printed = QString::fromUtf8(outBuffer.data());
    const QString errors = QString::fromUtf8(errBuffer.data());
    const auto begins = [](const QString& text, const QString& start) {
        return start.isEmpty() ? text.isEmpty() : text.startsWith(start);
    };
    QVERIFY2(begins(printed, out), qPrintable(printed));
    QVERIFY2(begins(errors, errStart), qPrintable(errors));
    if (status == 2 || arguments.contains("--help")) {
        // The usage lists every option.
        for (const char* option :
             {"--report", "--json", "--ini", "--repeat <N>", "--output <FILE>", "--no-context",
              "--verbose", "--version", "--help", "--save", "--compare", "--threshold <PCT>",
              "--add-reference", "--force", "--anonymous", "--database <FILE>"})
            QVERIFY2((printed + errors).contains(option), option);
    }
}

void TestCommandLine::compareLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // empty: understood
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<bool>("json");
    QTest::addColumn<double>("threshold");

    using L = QStringList;
    QTest::newRow("two files") << L{"--compare", "a.json", "b.json"} << "" << L{"a.json", "b.json"}
                               << false << 5.0;
    QTest::newRow("JSON, threshold")
        << L{"--compare", "--json", "--threshold", "2.5", "previous", "last"} << ""
        << L{"previous", "last"} << true << 2.5;
    QTest::newRow("one result") << L{"--compare", "a.json"}
                                << "--compare needs at least two results: files, 'last' or "
                                   "'previous'."
                                << L{} << false << 0.0;
    QTest::newRow("with --repeat")
        << L{"--compare", "a", "b", "--repeat", "3"} << "--repeat cannot be given with --compare."
        << L{} << false << 0.0;
    QTest::newRow("threshold x") << L{"--compare", "a", "b", "--threshold", "x"}
                                 << "--threshold takes a percentage from 0 to 100, not 'x'." << L{}
                                 << false << 0.0;
    QTest::newRow("threshold alone") << L{"--report", "--threshold", "3"}
                                     << "--threshold goes with --compare." << L{} << false << 0.0;
    QTest::newRow("results without --compare")
        << L{"a.json", "b.json"} << "Unexpected argument 'a.json'." << L{} << false << 0.0;
}

void TestCommandLine::compareLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QFETCH(QStringList, results);
    QFETCH(bool, json);
    QFETCH(double, threshold);

    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(line.error, error);
    QCOMPARE(line.action, error.isEmpty() ? Action::Compare : Action::Error);
    if (!error.isEmpty())
        return;
    QCOMPARE(line.compare.results, results);
    QCOMPARE(line.compare.json, json);
    QCOMPARE(line.compare.threshold, threshold);
}

void TestCommandLine::addReferenceLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("flags"); // f force, a anonymous
    QTest::addColumn<QString>("database");

    using L = QStringList;
    QTest::newRow("one file") << L{"--add-reference", "a.json"} << Action::AddReference << ""
                              << L{"a.json"} << ""
                              << "";
    QTest::newRow("all options") << L{"--add-reference", "--force", "--anonymous", "--database",
                                      "f.ini",           "a",       "b.ini"}
                                 << Action::AddReference << "" << L{"a", "b.ini"} << "fa"
                                 << "f.ini";
    QTest::newRow("no file") << L{"--add-reference", "--force"} << Action::Error
                             << "--add-reference needs at least one saved result or base.ini "
                                "file."
                             << L{} << ""
                             << "";
    QTest::newRow("empty name") << L{"--add-reference", ""} << Action::Error
                                << "--add-reference needs file names, not empty ones." << L{} << ""
                                << "";
    QTest::newRow("with --json") << L{"--add-reference", "--json", "a"} << Action::Error
                                 << "--json cannot be given with --add-reference." << L{} << ""
                                 << "";
    QTest::newRow("with --compare")
        << L{"--add-reference", "--compare", "a", "b"} << Action::Error
        << "--compare cannot be given with --add-reference." << L{} << ""
        << "";
    QTest::newRow("--force alone") << L{"--report", "--force"} << Action::Error
                                   << "--force goes with --add-reference." << L{} << ""
                                   << "";
    QTest::newRow("--anonymous with --compare")
        << L{"--compare", "--anonymous", "a", "b"} << Action::Error
        << "--anonymous cannot be given with --compare." << L{} << ""
        << "";
    // The report takes both: anonymous results, scored against another database.
    QTest::newRow("report") << L{"--anonymous", "--database", "x.ini"} << Action::Report << ""
                            << L{} << "a"
                            << "x.ini";
    QTest::newRow("report, empty database") << L{"--report", "--database="} << Action::Error
                                            << "--database needs a file name." << L{} << ""
                                            << "";
}

void TestCommandLine::addReferenceLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, error);
    QFETCH(QStringList, files);
    QFETCH(QString, flags);
    QFETCH(QString, database);

    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(line.error, error);
    QCOMPARE(line.action, action);
    if (action == Action::Report) {
        QCOMPARE(line.options.anonymous, flags.contains('a'));
        QCOMPARE(line.options.database, database);
    } else if (action == Action::AddReference) {
        QCOMPARE(line.addReference.files, files);
        QCOMPARE(line.addReference.force, flags.contains('f'));
        QCOMPARE(line.addReference.anonymous, flags.contains('a'));
        QCOMPARE(line.addReference.database, database);
    }
}

void TestCommandLine::qtOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("qt");    // what the application object gets
    QTest::addColumn<QStringList>("names"); // the options given, without dashes
    QTest::addColumn<QString>("output");    // --output's value

    using L = QStringList;
    QTest::newRow("-style Fusion: the window") << L{"-style", "Fusion"} << Action::Window << ""
                                               << L{"-style", "Fusion"} << L{"style"} << "";
    QTest::newRow("-style=Fusion")
        << L{"-style=Fusion"} << Action::Window << "" << L{"-style", "Fusion"} << L{"style"} << "";
    QTest::newRow("two dashes") << L{"--platform", "offscreen", "--reverse"} << Action::Window << ""
                                << L{"-platform", "offscreen", "-reverse"}
                                << L{"platform", "reverse"} << "";
    QTest::newRow("every flag") << L{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"}
                                << Action::Window << ""
                                << L{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"}
                                << L{"reverse", "widgetcount", "nograb", "dograb", "sync"} << "";
    QTest::newRow("values") << L{"-display",      ":1",    "-geometry",        "640x480+0+0",
                                 "-title",        "T",     "-qwindowgeometry", "1x1",
                                 "-qwindowtitle", "-t",    "-session",         "s_1",
                                 "-qwindowicon",  "i.png", "-fontengine",      "freetype"}
                            << Action::Window << ""
                            << L{"-display",      ":1",    "-geometry",        "640x480+0+0",
                                 "-title",        "T",     "-qwindowgeometry", "1x1",
                                 "-qwindowtitle", "-t",    "-session",         "s_1",
                                 "-qwindowicon",  "i.png", "-fontengine",      "freetype"}
                            << L{"display",      "geometry", "title",       "qwindowgeometry",
                                 "qwindowtitle", "session",  "qwindowicon", "fontengine"}
                            << "";
    QTest::newRow("plugins")
        << L{"-platformpluginpath", "/p",          "-platformtheme", "gtk3", "-plugin",
             "evdevtouch",          "-stylesheet", "a.qss"}
        << Action::Window << ""
        << L{"-platformpluginpath", "/p",          "-platformtheme", "gtk3", "-plugin",
             "evdevtouch",          "-stylesheet", "a.qss"}
        << L{"platformpluginpath", "platformtheme", "plugin", "stylesheet"} << "";
    QTest::newRow("only after =") << L{"-qmljsdebugger", "port:1"} << Action::Window << ""
                                  << L{"-qmljsdebugger=port:1"} << L{"qmljsdebugger"} << "";
    QTest::newRow("with the report")
        << L{"--report", "-platform", "offscreen", "--json"} << Action::Report << ""
        << L{"-platform", "offscreen"} << L{"platform"} << "";
    QTest::newRow("with --version") << L{"-style", "Fusion", "--version"} << Action::Version << ""
                                    << L{"-style", "Fusion"} << L{"style"} << "";
    QTest::newRow("an own option's value") << L{"--output", "-style", "-reverse"} << Action::Report
                                           << "" << L{"-reverse"} << L{"reverse"} << "-style";
    QTest::newRow("own value after =") << L{"--output=-title", "-title", "x"} << Action::Report
                                       << "" << L{"-title", "x"} << L{"title"} << "-title";
    QTest::newRow("after --") << L{"--report", "--", "-reverse"} << Action::Error
                              << "Unexpected argument '-reverse'." << L{} << L{} << "";
    QTest::newRow("no value") << L{"-platform"} << Action::Error << "-platform needs a value."
                              << L{} << L{"platform"} << "";
    QTest::newRow("a flag takes no value")
        << L{"-reverse=yes"} << Action::Error << "-reverse takes no value." << L{} << L{"reverse"}
        << "";
    QTest::newRow("not Qt's") << L{"-styles"} << Action::Error
                              << "Unknown options: s, t, y, l, e, s." << L{} << L{} << "";
}

void TestCommandLine::qtOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, error);
    QFETCH(QStringList, qt);
    QFETCH(QStringList, names);
    QFETCH(QString, output);

    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(line.error, error);
    QCOMPARE(line.action, action);
    QCOMPARE(line.qtOptionNames, names);
    if (action == Action::Error)
        return;
    QCOMPARE(line.qtOptions, qt);
    QCOMPARE(line.options.output, output);
}

void TestCommandLine::testsOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<TestId>>("tests");
    QTest::addColumn<QString>("error");

    QTest::newRow("all by default")
        << QStringList{"--report"}
        << QList<TestId>{TestId::Cpu, TestId::Fpu, TestId::Memory, TestId::Video, TestId::Disk}
        << "";
    QTest::newRow("as listed") << QStringList{"--tests", "memory,cpu"}
                               << QList<TestId>{TestId::Memory, TestId::Cpu} << "";
    QTest::newRow("case and spaces, once") << QStringList{"--tests= FPU ,fpu,Video"}
                                           << QList<TestId>{TestId::Fpu, TestId::Video} << "";
    QTest::newRow("--drive adds disk") << QStringList{"--tests", "cpu", "--drive", "/home"}
                                       << QList<TestId>{TestId::Cpu, TestId::Disk} << "";
    QTest::newRow("unknown name") << QStringList{"--tests", "cpu,gpu"} << QList<TestId>{}
                                  << "--tests takes cpu, fpu, memory, video, disk, not 'gpu'.";
    QTest::newRow("a drive's entry is no test")
        << QStringList{"--tests", "Drive /home"} << QList<TestId>{}
        << "--tests takes cpu, fpu, memory, video, disk, not 'Drive /home'.";
}

void TestCommandLine::testsOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<TestId>, tests);
    QFETCH(QString, error);

    const CommandLine line = ParseCommandLine(QStringList{"quorvix"} + arguments);
    QCOMPARE(line.error, error);
    if (error.isEmpty())
        QCOMPARE(line.options.tests, tests);
}

// Names and keys find one test each; every page runs from some test.
void TestCommandLine::testTable()
{
    QSet<QString> names;
    QSet<QString> keys;
    for (const TestEntry& test : Tests()) {
        QCOMPARE(Test(test.id).id, test.id);
        QVERIFY(TestNamed(test.name) == test.id);
        QVERIFY(!TestNamed(test.name.toUpper()));
        QVERIFY2(!names.contains(test.name), qPrintable(test.name));
        QVERIFY2(!keys.contains(test.jsonKey), qPrintable(test.jsonKey));
        names << test.name;
        keys << test.jsonKey;
        QVERIFY(PageTests(test.page).contains(test.id));
    }
    QCOMPARE(TestIds().size(), Tests().size());
    for (const TestPage page :
         {TestPage::Processor, TestPage::Memory, TestPage::Video, TestPage::Drive})
        QVERIFY(!PageTests(page).isEmpty());
}
