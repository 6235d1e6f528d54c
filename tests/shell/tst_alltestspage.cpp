#include "tst_classes.h"

#include "Fixture.h"
#include "ScriptedPages.h"
#include "shell/CommandLine.h"
#include "shell/Dialogs.h"

#include "report/ReportCommand.h"
#include "report/SaveLog.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

struct Page
{
    std::shared_ptr<ScriptedPages> pages = std::make_shared<ScriptedPages>();
    std::unique_ptr<ShellFixture> fixture;

    explicit Page(const QStringList& drives = {"Drive /", "Drive /home", "Drive /srv"})
    {
        pages->drives = {{"/", 81920}, {"/home", 0}, {"/srv", -100}};
        fixture = std::make_unique<ShellFixture>(pages, drives);
        writeDatabase("Ref=1000\n");
    }
    void writeDatabase(const QByteArray& memoryRows) const
    {
        QFile file(fixture->directory.filePath("base.ini"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n"
                       "[Processor]\nRef=300,250\n[Memory]\n" +
                       memoryRows + "[Video]\nRef=90\n[Drive]\nRef=9000\n");
    }
    Form1View ui() const { return fixture->ui(); }
    void allTests() const { QTest::keySequence(&fixture->form(), QKeySequence("Ctrl+F")); }
    QStringList log() const
    {
        QStringList lines;
        for (QTextBlock b = ui().Memo1->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
        return lines;
    }
    QString path(const QString& name) const { return fixture->directory.filePath(name); }
};

QStringList expectedLog(const QStringList& driveLines)
{
    return QStringList{
               "Test results",
               "",
               "- System overview ---------------------",
               "",
               "Processor : Test CPU, 1000 MHz",
               "Memory    : 512 Mb, load 10%",
               "Video     : Test display",
               "Monitor   : Test monitor",
               "HDD       : / 100 Gb; /home 200 Gb",
               "CD-ROM    : Test CD-ROM",
               "Mouse     : Test mouse",
               QString::fromUtf8("\xD0\x9ES        : Debian GNU/Linux 12 (bookworm)"),
               "Comp name : testhost",
               "User name : tester",
               "",
               "- Performance -------------------------",
               "",
               "CPU : 450 (600)",
               "FPU : 450 (300)",
               "Memory : 5000 (Mb/sec)",
               "Video : 700 (Mb/sec)",
           } +
           driveLines + QStringList{"", "- All tests completed -------------------"};
}

// Every error box shown until it goes out of scope, answered at once.
class ErrorBoxes
{
public:
    ErrorBoxes() { expect(); }
    ~ErrorBoxes() { Dialogs::SetNextErrorAnswer(nullptr); }
    ErrorBoxes(const ErrorBoxes&) = delete;
    ErrorBoxes& operator=(const ErrorBoxes&) = delete;

    QStringList shown;

private:
    void expect()
    {
        Dialogs::SetNextErrorAnswer([this](const QString& text) {
            shown << text;
            expect();
        });
    }
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

void TestAllTestsPage::wholeLog_data()
{
    QTest::addColumn<QStringList>("drives");
    QTest::addColumn<QStringList>("driveLines");
    QTest::newRow("no drive") << QStringList{} << QStringList{};
    QTest::newRow("one drive") << QStringList{"Drive /"} << QStringList{"Drive / : 81920 (KB/sec)"};
    QTest::newRow("three drives") << QStringList{"Drive /", "Drive /home", "Drive /srv"}
                                  << QStringList{"Drive / : 81920 (KB/sec)",
                                                 "Drive /home : 0 (KB/sec)",
                                                 "Drive /srv : 4294967196 (KB/sec)"};
}

void TestAllTestsPage::wholeLog()
{
    QFETCH(QStringList, drives);
    QFETCH(QStringList, driveLines);
    Page page(drives);
    QVERIFY(page.fixture->showAndActivate());
    page.allTests();

    QCOMPARE(page.log(), expectedLog(driveLines));
    QCOMPARE(page.log().size(), 23 + drives.size());
    const Form1View ui = page.ui();
    // Every chart page shows this run's results; the last drive is selected.
    QCOMPARE(ui.MyChart1->Bars.Items[0].Value, 450);
    QCOMPARE(ui.MyChart2->Bars.Items[0].Caption, "Your memory");
    QCOMPARE(ui.MyChart2->Bars.Items[0].Value, 5000);
    QCOMPARE(ui.MyChart4->Bars.Items[0].Value, 700);
    QCOMPARE(ui.ComboBox1->currentIndex(), drives.size() - 1);
    if (!drives.isEmpty())
        QCOMPARE(ui.MyChart3->Bars.Items[0].Value, page.pages->drives.value(drives.last().mid(6)));
    QVERIFY(ui.RadioButton1->isChecked());
    QCOMPARE(ui.PageControl1->currentIndex(), 1);
    QCOMPARE(ui.PageControl2->currentIndex(), 4);
    QCOMPARE(page.pages->journal.mid(0, 3),
             (QStringList{"processor", "memory comparative", "video"}));
    QCOMPARE(page.pages->journal.size(), 3 + drives.size()); // one disk test per drive
}

void TestAllTestsPage::fullModeRunsTheComparativeTestAfter()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    const Form1View ui = page.ui();
    ui.RadioButton2->click(); // the full test runs at once
    QCOMPARE(page.pages->journal, QStringList{"memory full"});
    page.pages->journal.clear();

    ui.Button2->click();
    QCOMPARE(page.pages->journal,
             (QStringList{"processor", "memory full", "memory comparative", "video", "drive /"}));
    QVERIFY(page.log().contains("Memory : 5000 (Mb/sec)"));
    QVERIFY(ui.RadioButton1->isChecked());
    QCOMPARE(ui.MyChart2->Bars.Items[0].Caption, "Your memory");
}

void TestAllTestsPage::startLogsTheFieldsAsTheyStand()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    const Form1View ui = page.ui();
    const int gathered = page.fixture->gatherCount;
    ui.Edit1->setText("Edited CPU");
    ui.Button2->click();
    QCOMPARE(page.fixture->gatherCount, gathered);
    QCOMPARE(page.log().at(4), "Processor : Edited CPU");

    page.allTests(); // refreshes the overview first
    QCOMPARE(page.fixture->gatherCount, gathered + 1);
    QCOMPARE(page.log().at(4), "Processor : Test CPU, 1000 MHz");
}

void TestAllTestsPage::secondRunReplacesTheLog()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    QCOMPARE(page.log(), QStringList{"Press Start ..."});
    page.allTests();
    page.pages->video = 900;
    page.allTests();
    QCOMPARE(page.log().size(), 24);
    QVERIFY(!page.log().contains("Press Start ..."));
    QCOMPARE(page.log().filter("Video : ").join('|'), "Video : 900 (Mb/sec)");
}

void TestAllTestsPage::errorEndsTheRun_data()
{
    QTest::addColumn<bool>("fullMode");
    QTest::addColumn<QByteArray>("memoryRows");
    QTest::addColumn<QString>("videoError");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("linesKept");
    const QString badRow = "'180,5' is not a valid integer value.";
    QTest::newRow("video") << false << QByteArray("Ref=1000\n")
                           << "The test surface could not be shown"
                           << "The test surface could not be shown." << 20;
    QTest::newRow("memory, comparative mode")
        << false << QByteArray("Ref=1000\nM=180,5\n") << QString() << badRow << 19;
    // The run selects the comparative mode itself; the button's own handler
    // must not take the error.
    QTest::newRow("memory, full mode")
        << true << QByteArray("Ref=1000\nM=180,5\n") << QString() << badRow << 19;
}

void TestAllTestsPage::errorEndsTheRun()
{
    QFETCH(bool, fullMode);
    QFETCH(QByteArray, memoryRows);
    QFETCH(QString, videoError);
    QFETCH(QString, shown);
    QFETCH(int, linesKept);
    Page page;
    page.writeDatabase(memoryRows);
    page.pages->videoError = videoError;
    QVERIFY(page.fixture->showAndActivate());
    if (fullMode)
        page.ui().RadioButton2->click();
    page.pages->journal.clear();

    const ErrorBoxes boxes;
    page.allTests();
    QCOMPARE(boxes.shown, QStringList{shown}); // one box, from the run
    QCOMPARE(page.log(), expectedLog({}).mid(0, linesKept));
    QVERIFY(!page.pages->journal.contains("drive /")); // nothing ran after the error
}

void TestAllTestsPage::closeEndsTheCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("closeAfter"); // the step after which it closes; empty: at once
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<int>("linesKept"); // -1: the log as it was
    const QStringList run{"processor", "memory comparative", "video", "drive /"};
    QTest::newRow("Ctrl+F, in the activation") << "Ctrl+F"
                                               << "" << QStringList{} << -1;
    QTest::newRow("all tests, at the start") << "Button2"
                                             << "" << QStringList{} << 0;
    QTest::newRow("all tests, in the memory test") << "Button2"
                                                   << "processor" << run.mid(0, 1) << 19;
    QTest::newRow("all tests, in the video test") << "Button2"
                                                  << "memory comparative" << run.mid(0, 2) << 20;
    QTest::newRow("all tests, in a disk test") << "Button2"
                                               << "video" << run.mid(0, 3) << 21;
    QTest::newRow("all tests, in the next disk test") << "Button2"
                                                      << "drive /" << run << 22;
    for (const char* button : {"Button1", "Button3", "Button5", "Button4"})
        QTest::newRow(button) << button << "" << QStringList{} << -1;
}

void TestAllTestsPage::closeEndsTheCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, closeAfter);
    QFETCH(QStringList, journal);
    QFETCH(int, linesKept);
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    TForm1& form = page.fixture->form();
    // As the window manager closes it, in the command's next pass over events.
    const auto closeSoon = [&form] {
        QMetaObject::invokeMethod(
            &form, [&form] { form.windowHandle()->close(); }, Qt::QueuedConnection);
    };
    page.pages->afterStep = [&](const QString& step) {
        if (step == closeAfter)
            closeSoon();
    };
    if (closeAfter.isEmpty())
        closeSoon();
    const QStringList before = page.log();
    const int gathered = page.fixture->gatherCount;
    QSignalSpy closed(&form, &TForm1::closed);
    const ErrorBoxes boxes;

    if (command == "Ctrl+F")
        page.allTests();
    else
        form.findChild<QPushButton*>(command)->click();

    QCOMPARE(closed.count(), 1);
    QVERIFY(!form.isVisible());
    QCOMPARE(boxes.shown, QStringList{});
    QCOMPARE(page.pages->journal, journal);
    QCOMPARE(page.fixture->gatherCount, gathered);
    const QStringList log =
        linesKept < 0 ? before : expectedLog({"Drive / : 81920 (KB/sec)"}).mid(0, linesKept);
    QCOMPARE(page.log().join('\n'), log.join('\n')); // an empty log is one empty line
    // No command starts after the close.
    page.ui().Button1->click();
    page.ui().Button2->click();
    QCOMPARE(page.pages->journal, journal);
}

void TestAllTestsPage::saveWritesTheLogByteForByte()
{
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    page.allTests();
    const QString path = page.path("results.txt");
    Dialogs::SaveRequest asked;
    Dialogs::SetNextSaveAnswer([&](const Dialogs::SaveRequest& request) {
        asked = request;
        return path;
    });
    page.ui().Button6->click();

    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes, report::LogFileBytes(page.log()));
    QVERIFY(bytes.startsWith("Test results\r\n\r\n- System overview")); // no byte-order mark
    QVERIFY(bytes.contains("\r\n\xD0\x9ES        : Debian"));
    QVERIFY(bytes.endsWith("\r\n\r\n- All tests completed -------------------\r\n"));
    QCOMPARE(bytes.count("\r\n"), 26);
    QCOMPARE(bytes.count('\n'), 26);
    QCOMPARE(asked.suggestedName, "Testlog");
    QCOMPARE(asked.defaultSuffix, "txt");
    QCOMPARE(page.log().size(), 26); // saving leaves the log as it was
}

void TestAllTestsPage::cancelWritesNothing()
{
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    Dialogs::SetNextSaveAnswer([](const Dialogs::SaveRequest&) { return QString(); });
    page.ui().Button6->click();
    QCOMPARE(QDir(page.fixture->directory.path()).entryList(QDir::Files), QStringList{"base.ini"});
}

void TestAllTestsPage::unwritableTargetShowsTheError_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing folder") << "missing/Testlog.txt";
    QTest::newRow("a folder") << "folder";
}

void TestAllTestsPage::unwritableTargetShowsTheError()
{
    QFETCH(QString, name);
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    QVERIFY(QDir(page.fixture->directory.path()).mkdir("folder"));
    const QString path = page.path(name);
    Dialogs::SetNextSaveAnswer([path](const Dialogs::SaveRequest&) { return path; });
    QString shown;
    Dialogs::SetNextErrorAnswer([&shown](const QString& text) { shown = text; });
    page.ui().Button6->click();
    QCOMPARE(shown, "Cannot create file " + path + ".");
    QVERIFY(QFileInfo(page.path("folder")).isDir());
    QCOMPARE(page.log(), QStringList{"Press Start ..."});
}

void TestAllTestsPage::saveDialogOffersTestlog()
{
    // The real dialog: it suggests "Testlog", offers the two file types, and
    // completes a name without an extension with .txt.
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    const QString folder = page.fixture->directory.path();
    QString title;
    QString suggested;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr);
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        suggested = name->text();
        dialog->setDirectory(folder);
        name->setText("Testlog");
        QTest::keyClick(name, Qt::Key_Return);
    });
    page.ui().Button6->click();
    QCOMPARE(title, QString::fromUtf8("Сохранить результаты"));
    QCOMPARE(suggested, "Testlog");
    QCOMPARE(filters, (QStringList{QString::fromUtf8("Текстовый файл (*.txt)"),
                                   QString::fromUtf8("Все файлы (*.*)")}));
    QCOMPARE(readAll(folder + "/Testlog.txt"), QByteArray("Press Start ...\r\n"));
}

void TestAllTestsPage::reportPrintsTheWindowsLog()
{
    // The command line's report and the window's run are one run: with the
    // same pages and machine they print the same lines.
    Page page({"Drive /", "Drive /home"});
    QVERIFY(page.fixture->showAndActivate());
    page.allTests();

    report::ReportSetup setup;
    setup.databasePath = page.path("base.ini");
    setup.pages = ReportPagesFor(std::make_shared<ScriptedPages>(*page.pages));
    ShellFixture* fixture = page.fixture.get();
    setup.pages.gatherOverview = [fixture] { return fixture->fields; };
    setup.pages.listFixedDrives = [] {
        return sysinfo::FixedDriveListing{{"Drive /", "Drive /home"}, "/ 100 Gb; /home 200 Gb", {}};
    };
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    setup.out = &out;
    setup.err = &err;
    QCOMPARE(report::RunReport({}, setup), 0);
    QCOMPARE(QString::fromUtf8(out.data()), page.log().join('\n') + '\n');
}
