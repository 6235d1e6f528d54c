// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"
#include "shell/ReportLauncher.h"

#include "report/ReportCommand.h"
#include "session/SaveLog.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace {

// The window on three drives listed without paths; the fake disk kernel
// writes 81,920 KB/s to "/" and 0 to the others.
struct Page
{
    std::unique_ptr<ShellFixture> fixture;

    explicit Page(const QStringList& drives = {"Drive /", "Drive /home", "Drive /srv"})
    {
        fixture = std::make_unique<ShellFixture>(drives);
        fixture->diskRates = {{"/home", 0}, {"/srv", 0}};
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
    template <typename W> W* widget(const char* name) const { return fixture->widget<W>(name); }
    // Ctrl+F, with the window active again after a test surface went.
    void allTests() const
    {
        QApplication::setActiveWindow(&fixture->form());
        QVERIFY(QTest::qWaitForWindowActive(&fixture->form()));
        QTest::keySequence(&fixture->form(), QKeySequence("Ctrl+F"));
    }
    QStringList log() const
    {
        QStringList lines;
        for (QTextBlock b = widget<QPlainTextEdit>("Memo1")->document()->begin(); b.isValid();
             b = b.next())
            lines << b.text();
        return lines;
    }
    // The handlers that measured since the last call; the activation that
    // follows the test surface is left out (it comes when the window is
    // painted again).
    QStringList measured() const
    {
        QStringList handlers = fixture->takeHandlers();
        handlers.removeAll("FormActivate");
        return handlers;
    }
    QString path(const QString& name) const { return fixture->directory.filePath(name); }
};

// The run's figures on the fixture's kernels: memory (5096 + 6096) / 2 MiB/s,
// video 314,572,800 pixels of 4 bytes a second, filled into the offscreen
// platform's backing store.
const QString videoNote = QStringLiteral(" - backing store (not comparable with X server fills)");
const QStringList performance{"CPU : 450 (600)", "FPU : 450 (300)", "Memory : 5596 (Mb/sec)",
                              "Video : 1200 (Mb/sec)" + videoNote};

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
    QTest::newRow("no drive") << QStringList{};
    QTest::newRow("one drive") << QStringList{"Drive /"};
    QTest::newRow("three drives") << QStringList{"Drive /", "Drive /home", "Drive /srv"};
}

// The log itself is the report's; here: the window shows the session's log,
// with this window's figures, and the pages are left showing the run.
void TestAllTestsPage::wholeLog()
{
    QFETCH(QStringList, drives);
    Page page(drives);
    QVERIFY(page.fixture->showAndActivate());
    page.measured();
    page.allTests();

    QCOMPARE(page.log(), page.fixture->form().session().log());
    QCOMPARE(page.log().size(), 23 + drives.size());
    QCOMPARE(page.log().at(4), "Processor : Test CPU, 1000 MHz");
    QCOMPARE(page.log().mid(17, 4), performance);
    if (!drives.isEmpty())
        QCOMPARE(page.log().at(21), "Drive / : 81920 (KB/sec)");
    QCOMPARE(page.widget<TMyChart>("MyChart2")->Bars.Items[0].Caption, "Your memory");
    QCOMPARE(page.widget<QComboBox>("ComboBox1")->currentIndex(), drives.size() - 1);
    QVERIFY(page.widget<QRadioButton>("RadioButton1")->isChecked());
    QCOMPARE(page.widget<QTabWidget>("PageControl1")->currentIndex(), 1);
    QCOMPARE(page.widget<QTabWidget>("PageControl2")->currentIndex(), 4);
    QCOMPARE(page.measured(), QStringList({"Button1Click", "Button3Click", "Button5Click"}) +
                                  QStringList(drives.size(), "Button4Click"));
}

void TestAllTestsPage::fullModeRunsTheComparativeTestAfter()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    page.widget<QRadioButton>("RadioButton2")->click(); // the full test runs at once
    QCOMPARE(page.fixture->memoryCalls.first(), "read 1024");
    page.measured();

    page.widget<QPushButton>("Button2")->click();
    QCOMPARE(page.measured(), (QStringList{"Button1Click", "Button3Click", "Button3Click",
                                           "Button5Click", "Button4Click"}));
    QCOMPARE(page.log().at(19), "Memory : 5596 (Mb/sec)");
    QVERIFY(page.widget<QRadioButton>("RadioButton1")->isChecked());
    QCOMPARE(page.widget<TMyChart>("MyChart2")->Bars.Items[0].Caption, "Your memory");
}

void TestAllTestsPage::startLogsTheFieldsAsTheyStand()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    page.fixture->fields.processor = "Other CPU";
    page.widget<QPushButton>("Button2")->click(); // the overview as it stands
    QCOMPARE(page.log().at(4), "Processor : Test CPU, 1000 MHz");

    page.allTests(); // refreshes the overview first
    QCOMPARE(page.log().at(4), "Processor : Other CPU");
    QCOMPARE(page.widget<QLineEdit>("Edit1")->text(), "Other CPU");
}

void TestAllTestsPage::secondRunReplacesTheLog()
{
    Page page({"Drive /"});
    QVERIFY(page.fixture->showAndActivate());
    QCOMPARE(page.log(), QStringList{"Press Start ..."});
    page.allTests();
    page.fixture->videoTest = [](bench::VideoCanvas&, int, int) -> std::int64_t {
        return 235'929'600; // 900 MiB/s
    };
    page.allTests();
    QCOMPARE(page.log().size(), 24);
    QVERIFY(!page.log().contains("Press Start ..."));
    QCOMPARE(page.log().filter("Video : ").join('|'), "Video : 900 (Mb/sec)" + videoNote);
}

void TestAllTestsPage::errorEndsTheRun_data()
{
    QTest::addColumn<bool>("fullMode");
    QTest::addColumn<QByteArray>("memoryRows");
    QTest::addColumn<QString>("failingKernel");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("lastLine");
    const QString badRow = "'180,5' is not a valid integer value.";
    QTest::newRow("video") << false << QByteArray("Ref=1000\n") << "video"
                           << "Failed: video." << performance[2];
    QTest::newRow("memory, comparative mode")
        << false << QByteArray("Ref=1000\nM=180,5\n") << QString() << badRow << performance[1];
    // The run selects the comparative mode itself; the button's own handler
    // must not take the error.
    QTest::newRow("memory, full mode")
        << true << QByteArray("Ref=1000\nM=180,5\n") << QString() << badRow << performance[1];
}

void TestAllTestsPage::errorEndsTheRun()
{
    QFETCH(bool, fullMode);
    QFETCH(QByteArray, memoryRows);
    QFETCH(QString, failingKernel);
    QFETCH(QString, shown);
    QFETCH(QString, lastLine);
    Page page;
    page.writeDatabase(memoryRows);
    page.fixture->failingKernel = failingKernel;
    QVERIFY(page.fixture->showAndActivate());
    if (fullMode)
        page.widget<QRadioButton>("RadioButton2")->click();
    page.measured();

    const ErrorBoxes boxes;
    page.allTests();
    QCOMPARE(boxes.shown, QStringList{shown}); // one box, from the run
    QCOMPARE(page.log().last(), lastLine);
    QVERIFY(!page.measured().contains("Button4Click")); // nothing ran after the error
}

void TestAllTestsPage::closeEndsTheCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("closeIn"); // the handler in whose kernel it closes; empty: at once
    QTest::addColumn<QStringList>("measured");
    QTest::addColumn<int>("linesKept"); // -1: the log as it was
    const QStringList run{"Button1Click", "Button3Click", "Button5Click", "Button4Click"};
    QTest::newRow("Ctrl+F, in the activation") << "Ctrl+F"
                                               << "" << QStringList{} << -1;
    QTest::newRow("all tests, at the start") << "Button2"
                                             << "" << QStringList{} << 0;
    QTest::newRow("all tests, in the processor test") << "Button2"
                                                      << "Button1Click" << run.mid(0, 1) << 19;
    QTest::newRow("all tests, in the memory test") << "Button2"
                                                   << "Button3Click" << run.mid(0, 2) << 20;
    QTest::newRow("all tests, in the video test") << "Button2"
                                                  << "Button5Click" << run.mid(0, 3) << 21;
    QTest::newRow("all tests, in the first disk test") << "Button2"
                                                       << "Button4Click" << run << 22;
    for (const char* button : {"Button1", "Button3", "Button5", "Button4"})
        QTest::newRow(button) << button << "" << QStringList{} << -1;
}

void TestAllTestsPage::closeEndsTheCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, closeIn);
    QFETCH(QStringList, measured);
    QFETCH(int, linesKept);
    Page page;
    QVERIFY(page.fixture->showAndActivate());
    TForm1& form = page.fixture->form();
    // As the window manager closes it, in the command's next pass over events.
    const auto closeSoon = [&form] {
        QMetaObject::invokeMethod(
            &form, [&form] { form.windowHandle()->close(); }, Qt::QueuedConnection);
    };
    page.fixture->duringKernel = [&] {
        if (page.fixture->handlers.last() == closeIn)
            closeSoon();
    };
    if (closeIn.isEmpty())
        closeSoon();
    const QStringList before = page.log();
    page.measured();
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
    QCOMPARE(page.measured(), measured);
    QCOMPARE(page.fixture->gatherCount, gathered);
    if (linesKept < 0)
        QCOMPARE(page.log(), before);
    else
        QCOMPARE(page.log().size(), std::max(linesKept, 1)); // an empty log is one empty line
    // No command starts after the close.
    page.widget<QPushButton>("Button1")->click();
    page.widget<QPushButton>("Button2")->click();
    QCOMPARE(page.measured(), QStringList{});
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
    page.widget<QPushButton>("Button6")->click();

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
    page.widget<QPushButton>("Button6")->click();
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
    page.widget<QPushButton>("Button6")->click();
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
    page.widget<QPushButton>("Button6")->click();
    QCOMPARE(title, QString::fromUtf8("Сохранить результаты"));
    QCOMPARE(suggested, "Testlog");
    QCOMPARE(filters, (QStringList{QString::fromUtf8("Текстовый файл (*.txt)"),
                                   QString::fromUtf8("Все файлы (*.*)")}));
    QCOMPARE(readAll(folder + "/Testlog.txt"), QByteArray("Press Start ...\r\n"));
}

// The activation that follows the test surface waits until the run has
// ended: every drive is measured in the busy state, and then the window is
// activated once.
void TestAllTestsPage::activationWaitsForTheRunToEnd()
{
    Page page;
    ShellFixture& fixture = *page.fixture;
    QVERIFY(fixture.showAndActivate());
    const QStatusBar* bar = page.widget<QStatusBar>("StatusBar1");
    int atStart = -1; // Ctrl+F activates before the first test
    QStringList drives;
    fixture.duringKernel = [&] {
        if (atStart < 0)
            atStart = fixture.gatherCount;
        if (fixture.handlers.last() == QLatin1String("Button4Click"))
            drives << QStringLiteral("%1, %2, %3 activations")
                          .arg(busy::HourglassShown() ? "hourglass" : "default cursor",
                               busy::StatusText(bar))
                          .arg(fixture.gatherCount - atStart);
    };

    page.allTests();

    QCOMPARE(drives, QStringList(3, "hourglass, Stand by ..., 0 activations"));
    QCOMPARE(fixture.gatherCount, atStart);
    QTRY_COMPARE(fixture.gatherCount, atStart + 1);
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(busy::StatusText(bar), busy::StandardStatusText);
    QTest::qWait(2 * TForm1::RepaintWaitMs);
    QCOMPARE(fixture.gatherCount, atStart + 1);
}

void TestAllTestsPage::reportPrintsTheWindowsLog()
{
    // The command line's report and the window's run are one run: on the
    // same kernels and machine they print the same lines.
    Page page({"Drive /", "Drive /home"});
    QVERIFY(page.fixture->showAndActivate());
    page.allTests();

    report::ReportSetup setup;
    setup.databasePath = page.path("base.ini");
    ShellFixture* fixture = page.fixture.get();
    setup.probes.gatherOverview = [fixture] { return fixture->fields; };
    setup.probes.listFixedDrives = [] {
        return sysinfo::FixedDriveListing{
            {"Drive /", "Drive /home"}, "/ 100 Gb; /home 200 Gb", {"/", "/home"}};
    };
    setup.kernels = fixture->kernels();
    setup.surface = MakeReportSurface();
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    setup.out = &out;
    setup.err = &err;
    QCOMPARE(report::RunReport({}, setup), 0);
    QCOMPARE(QString::fromUtf8(out.data()), page.log().join('\n') + '\n');
}
