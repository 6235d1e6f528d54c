// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/ReferenceMachine.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "database/ComparisonDatabase.h"
#include "shell/Dialogs.h"
#include "shell/Fonts.h"

#include "controls/ResourceImage.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWidget>

#include <stdexcept>

namespace {

// The all-tests run after the overview: every page once, the disk test for
// each of the fixture's two drives. The main window is activated again once
// the test surface has gone and the run has ended.
const QStringList allTestsRun{"Button1Click", "Button3Click", "Button5Click", "Button4Click",
                              "Button4Click"};

void clickTab(QTabWidget* tabs, int index)
{
    QTabBar* bar = tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Every page has a result, measured out of sight of the handlers' journal.
void fillAllCharts(ShellFixture& f)
{
    const QStringList handlers = f.handlers;
    report::Session& session = f.form().session();
    session.runProcessor();
    session.runMemory();
    session.showVideoRows();
    session.runDrive();
    f.handlers = handlers;
}

QWidget* named(const TForm1& form, const QString& name)
{
    return form.findChild<QWidget*>(name);
}

} // namespace

void TestMainWindow::startUpState()
{
    ShellFixture f({}, true);
    QVERIFY(f.widget<QFrame>("Panel1")->isHidden());
    QVERIFY(!f.widget<QFrame>("Panel4")->isHidden());
    // Centred over the content area: ((593 - 393) div 2, (430 - 349) div 2 + 34).
    QCOMPARE(f.widget<QFrame>("Panel4")->pos(), QPoint(100, 74));
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), QString());
    QVERIFY(f.showAndActivate());
    auto* drives = f.widget<QComboBox>("ComboBox1");
    QCOMPARE(f.widget<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Press Start ..."));
    QCOMPARE(drives->count(), 2);
    QCOMPARE(drives->currentText(), QStringLiteral("Drive /"));
    // The item shows the escaped text; the disk test gets the real path.
    QCOMPARE(drives->itemText(1), QStringLiteral("Drive /home/a\\012b"));
    f.diskRates.insert(QStringLiteral("/home/a\nb"), 77);
    drives->setCurrentIndex(1);
    f.form().Button4Click();
    QCOMPARE(f.widget<TMyChart>("MyChart3")->Bars.Items[0].Value, 77);
    f.takeHandlers();
    QCOMPARE(f.widget<QLineEdit>("Edit4")->text(), QStringLiteral("/ 100 Gb; /home 200 Gb"));
    QCOMPARE(f.widget<QTabWidget>("PageControl1")->currentIndex(), 0);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), 0);
    QVERIFY(f.widget<QRadioButton>("RadioButton1")->isChecked());
    QCOMPARE(f.form().database().path(), f.directory.filePath(QStringLiteral("base.ini")));
}

void TestMainWindow::databaseBesideExecutable()
{
    // No base.ini beside the test executable: the user's copy, in a
    // configuration directory of the test's own.
    QTemporaryDir config;
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TForm1Services services;
    services.probes.listFixedDrives = [] { return sysinfo::FixedDriveListing{}; };
    services.probes.gatherOverview = [] { return sysinfo::OverviewFields{}; };
    TForms forms = CreateMainForm(services);
    CreateOtherFormsAfterSplash(forms);
    QSignalSpy pagesMade(forms.Form1.get(), &TForm1::splashShown);
    forms.Form1->show();
    const bool made = pagesMade.wait();
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(made);
    QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/base.ini"));
    QCOMPARE(forms.Form1->database().path(), config.filePath(QStringLiteral("quorvix/base.ini")));
}

void TestMainWindow::readyAfterActivation()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QCOMPARE(f.gatherCount, 1);
    QVERIFY(f.splashVisibleWhileGathering);
    QVERIFY(f.hourglassWhileGathering);
    QCOMPARE(f.statusWhileGathering, QStringLiteral("Quorvix 2000.  Designed by Varnholt"));
    QVERIFY(f.widget<QFrame>("Panel1")->isVisible());
    QVERIFY(!f.widget<QFrame>("Panel4")->isVisible());
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(f.widget<QLineEdit>("Edit1")->text(), QStringLiteral("Test CPU, 1000 MHz"));
    QCOMPARE(f.widget<QLineEdit>("Edit2")->text(), QStringLiteral("512 Mb, load 10%"));
    QCOMPARE(f.widget<QLineEdit>("Edit5")->text(),
             QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
    QCOMPARE(f.widget<QLineEdit>("Edit6")->text(), QStringLiteral("testhost"));
    QCOMPARE(f.widget<QLineEdit>("Edit7")->text(), QStringLiteral("tester"));
    QCOMPARE(f.widget<QLineEdit>("Edit10")->text(), QStringLiteral("Test mouse"));
    QCOMPARE(f.widget<QLineEdit>("Edit4")->text(), QStringLiteral("/ 100 Gb; /home 200 Gb"));
    QCOMPARE(f.widget<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Press Start ..."));
    // Centred on the screen.
    const QPoint offset =
        f.form().geometry().center() - f.form().screen()->availableGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestMainWindow::reactivationRefillsFields()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.fields.processor = QStringLiteral("A processor name far too long for the field, 2400 MHz");
    f.fields.os.reset(); // the version key could not be read this time
    QTest::mouseClick(f.widget<QToolButton>("ToolButton1"), Qt::LeftButton);
    QCOMPARE(f.gatherCount, 2);
    QCOMPARE(f.widget<QLineEdit>("Edit1")->text(), f.fields.processor);
    QCOMPARE(f.widget<QLineEdit>("Edit1")->cursorPosition(), 0); // the start of the text shows
    QCOMPARE(f.widget<QLineEdit>("Edit5")->text(),
             QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
}

void TestMainWindow::scalingValuesReadAtActivation()
{
    ShellFixture f({}, true);
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[DATA]\r\nPIIMultCPU=120\r\nPIIMultFPU=-7\r\nPIIFreq=$1F4\r\n");
    file.close();
    QVERIFY(f.showAndActivate());
    const bench::ReferenceMachine& reference = f.form().session().reference();
    QCOMPARE(reference.PIIMultCPU, 120);
    QCOMPARE(reference.PIIMultFPU, -7);
    QCOMPARE(reference.PIIFreq, 500);
    // Read again at every activation: the file changed in between.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\r\nPIIMultCPU=1\r\n");
    file.close();
    QTest::mouseClick(f.widget<QToolButton>("ToolButton1"), Qt::LeftButton);
    QCOMPARE(reference.PIIMultCPU, 1);
    QCOMPARE(reference.PIIFreq, 0);
}

void TestMainWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("cool bar") << "CoolBar1" << QRect(0, 0, 595, 34);
    QTest::newRow("content") << "Panel1" << QRect(0, 34, 595, 432);
    QTest::newRow("background") << "Image1" << QRect(1, 1, 592, 429);
    QTest::newRow("splash picture") << "Image2" << QRect(8, 8, 194, 332);
    QTest::newRow("processor field") << "Edit1" << QRect(113, 9, 257, 21);
    QTest::newRow("computer field") << "Edit6" << QRect(141, 297, 229, 21);
    QTest::newRow("processor refresh") << "Button1" << QRect(297, 312, 75, 23);
    QTest::newRow("video refresh") << "Button5" << QRect(296, 313, 75, 23);
    QTest::newRow("disk refresh") << "Button4" << QRect(182, 316, 75, 23);
    QTest::newRow("drive list") << "ComboBox1" << QRect(266, 316, 105, 21);
    QTest::newRow("log") << "Memo1" << QRect(0, 0, 372, 309);
    QTest::newRow("processor chart panel") << "Panel6" << QRect(0, 0, 372, 302);
    QTest::newRow("disk chart panel") << "Panel7" << QRect(0, 0, 372, 310);
}

void TestMainWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QWidget* widget = named(f.form(), name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->geometry(), geometry);
    // The window itself: fixed size, no maximise box, status bar of 19.
    QCOMPARE(f.widget<QWidget>("ClientArea")->size(), QSize(595, 466));
    QCOMPARE(f.form().minimumSize(), f.form().maximumSize());
    QVERIFY(!f.form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.widget<QStatusBar>("StatusBar1")->height(), 19);
    QVERIFY(!f.widget<QStatusBar>("StatusBar1")->isSizeGripEnabled());
}

void TestMainWindow::icons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QPoint>("place");
    const char* overview[] = {"PROCESSOR", "MEMORY", "VIDEO",   "MONITOR",  "HDD",
                              "CDROM",     "MOUSE",  "WINDOWS", "COMPUTER", "USERS"};
    const int tops[] = {4, 40, 76, 112, 140, 184, 220, 256, 292, 328};
    for (int row = 0; row < 10; ++row)
        QTest::newRow(overview[row])
            << QStringLiteral("ResourceImage%1").arg(row + 1) << QString::fromLatin1(overview[row])
            << QPoint(9, tops[row] + 1);
    QTest::newRow("processor page") << "ResourceImage11"
                                    << "PROCESSOR" << QPoint(0, 307);
    QTest::newRow("memory page") << "ResourceImage12"
                                 << "MEMORY" << QPoint(0, 304);
    QTest::newRow("video page") << "ResourceImage13"
                                << "VIDEO" << QPoint(0, 307);
    QTest::newRow("hdd page") << "ResourceImage14"
                              << "HDD" << QPoint(0, 306);
}

void TestMainWindow::icons()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);
    QFETCH(QPoint, place);
    ShellFixture f;
    auto* icon = f.form().findChild<TResourceImage*>(name);
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->resourceName(), resource);
    QCOMPARE(icon->pos(), place);
    QVERIFY(!icon->stretched());
    QVERIFY(!icon->image().isNull());
    QCOMPARE(icon->image().size(), QSize(32, 32));
}

void TestMainWindow::toolBar_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("hint");
    QTest::newRow("database") << "ToolButton10" << 0 << "Edit database";
    QTest::newRow("separator 1") << "ToolButton11" << 31 << "";
    QTest::newRow("overview") << "ToolButton1" << 39 << "System overview";
    QTest::newRow("all tests") << "ToolButton2" << 70 << "All tests";
    QTest::newRow("separator 2") << "ToolButton4" << 101 << "";
    QTest::newRow("processor") << "ToolButton5" << 109 << "Processor benchmark";
    QTest::newRow("memory") << "ToolButton6" << 140 << "Memory benchmark";
    QTest::newRow("video") << "ToolButton7" << 171 << "Video benchmark";
    QTest::newRow("hdd") << "ToolButton9" << 202 << "HDD benchmark";
    QTest::newRow("separator 3") << "ToolButton8" << 233 << "";
    QTest::newRow("about") << "ToolButton3" << 241 << "About ...";
}

void TestMainWindow::toolBar()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, hint);
    ShellFixture f;
    QWidget* widget = named(f.form(), name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->x(), left);
    if (hint.isEmpty()) {
        QCOMPARE(widget->width(), 8);
        return;
    }
    auto* button = qobject_cast<QToolButton*>(widget);
    QVERIFY(button != nullptr);
    QCOMPARE(button->size(), QSize(31, 30));
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->iconSize(), QSize(24, 24));
    QVERIFY(!button->icon().pixmap(24, 24).isNull());
}

void TestMainWindow::menu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("database") << "N17"
                              << "Comparision data &base"
                              << "F3";
    QTest::newRow("save results") << "N6"
                                  << "&Save results"
                                  << "F2";
    QTest::newRow("exit") << "N3"
                          << "E&xit"
                          << "Alt+F4";
    QTest::newRow("all tests") << "N10"
                               << "All tests"
                               << "Ctrl+F";
    QTest::newRow("processor") << "N11"
                               << "Processor"
                               << "Ctrl+P";
    QTest::newRow("memory") << "N12"
                            << "Memory"
                            << "Ctrl+M";
    QTest::newRow("video") << "N13"
                           << "Video (GDI)"
                           << "Ctrl+V";
    QTest::newRow("hdd") << "N14"
                         << "HDD"
                         << "Ctrl+D";
    QTest::newRow("help") << "N16"
                          << "Quorvix help"
                          << "F1";
    QTest::newRow("web site") << "WebSiteItem"
                              << "https://quorvix.example/"
                              << "";
    QTest::newRow("about") << "N5"
                           << "About ..."
                           << "";
}

void TestMainWindow::menu()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    ShellFixture f;
    auto* action = f.form().findChild<QAction*>(name);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
}

void TestMainWindow::firstVisitRunsRefresh_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("handlers");
    QTest::newRow("processor") << 0 << QStringList{QStringLiteral("Button1Click")};
    QTest::newRow("memory") << 1 << QStringList{QStringLiteral("Button3Click")};
    QTest::newRow("video: chart only") << 2 << QStringList{};
    QTest::newRow("hdd") << 3 << QStringList{QStringLiteral("Button4Click")};
    QTest::newRow("all tests: nothing") << 4 << QStringList{};
}

void TestMainWindow::firstVisitRunsRefresh()
{
    QFETCH(int, page);
    QFETCH(QStringList, handlers);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.takeHandlers();
    // "Benchmarks" shows the processor page first, so that is what runs.
    clickTab(f.widget<QTabWidget>("PageControl1"), 1);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button1Click")});
    if (page == 0)
        return;
    clickTab(f.widget<QTabWidget>("PageControl2"), page);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), page);
    QCOMPARE(f.takeHandlers(), handlers);
    if (page == 2) { // the rows and the own bar at 0, the screen left alone
        QVERIFY(f.widget<TMyChart>("MyChart4")->Bars.Count > 0);
        QCOMPARE(f.widget<TMyChart>("MyChart4")->Bars.Items[0].Value, 0);
        QVERIFY(!f.forms.Form2->isVisible());
    }
}

void TestMainWindow::chartWithBarsIsNotRefreshed()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    auto* inner = f.widget<QTabWidget>("PageControl2");
    auto* outer = f.widget<QTabWidget>("PageControl1");
    fillAllCharts(f);
    f.takeHandlers();
    clickTab(outer, 1);
    for (int page = 1; page < 5; ++page)
        clickTab(inner, page);
    clickTab(inner, 0);
    clickTab(outer, 0);
    clickTab(outer, 1);
    QCOMPARE(outer->currentIndex(), 1);
    QCOMPARE(f.takeHandlers(), QStringList{});
}

void TestMainWindow::commandsDoNotRaisePageChange_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("withBars");
    QTest::addColumn<QStringList>("handlers");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    const QString activate = QStringLiteral("FormActivate");
    QTest::newRow("processor") << QStringList{"ToolButton5"} << false << QStringList{"Button1Click"}
                               << 1 << 0;
    QTest::newRow("memory") << QStringList{"ToolButton6"} << false << QStringList{"Button3Click"}
                            << 1 << 1;
    QTest::newRow("video measures")
        << QStringList{"ToolButton7"} << false << QStringList{"Button5Click"} << 1 << 2;
    QTest::newRow("hdd") << QStringList{"ToolButton9"} << false << QStringList{"Button4Click"} << 1
                         << 3;
    QTest::newRow("all tests refreshes overview first")
        << QStringList{"ToolButton2"} << false << QStringList{activate} + allTestsRun << 1 << 4;
    QTest::newRow("overview keeps the inner page")
        << QStringList{"ToolButton9", "ToolButton1"} << false
        << QStringList{"Button4Click", activate} << 0 << 3;
    QTest::newRow("re-runs a chart with bars")
        << QStringList{"ToolButton6", "ToolButton6"} << true
        << QStringList{"Button3Click", "Button3Click"} << 1 << 1;
}

void TestMainWindow::commandsDoNotRaisePageChange()
{
    QFETCH(QStringList, buttons);
    QFETCH(bool, withBars);
    QFETCH(QStringList, handlers);
    QFETCH(int, outer);
    QFETCH(int, inner);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    if (withBars)
        fillAllCharts(f);
    f.takeHandlers();
    for (const QString& name : buttons)
        QTest::mouseClick(named(f.form(), name), Qt::LeftButton);
    QCOMPARE(f.takeHandlers(), handlers);
    QCOMPARE(f.widget<QTabWidget>("PageControl1")->currentIndex(), outer);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), inner);
}

void TestMainWindow::shortcutsReachHandlers_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QStringList>("handlers");
    QTest::addColumn<int>("inner");
    QTest::newRow("Ctrl+P") << QKeySequence(QStringLiteral("Ctrl+P")) << QStringList{"Button1Click"}
                            << 0;
    QTest::newRow("Ctrl+M") << QKeySequence(QStringLiteral("Ctrl+M")) << QStringList{"Button3Click"}
                            << 1;
    QTest::newRow("Ctrl+V") << QKeySequence(QStringLiteral("Ctrl+V")) << QStringList{"Button5Click"}
                            << 2;
    QTest::newRow("Ctrl+D") << QKeySequence(QStringLiteral("Ctrl+D")) << QStringList{"Button4Click"}
                            << 3;
    QTest::newRow("Ctrl+F") << QKeySequence(QStringLiteral("Ctrl+F"))
                            << QStringList{"FormActivate"} + allTestsRun << 4;
    QTest::newRow("F2 does nothing") << QKeySequence(QStringLiteral("F2")) << QStringList{} << 0;
}

void TestMainWindow::shortcutsReachHandlers()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QStringList, handlers);
    QFETCH(int, inner);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.takeHandlers();
    QTest::keySequence(&f.form(), keys);
    QCOMPARE(f.takeHandlers(), handlers);
    QCOMPARE(f.widget<QTabWidget>("PageControl1")->currentIndex(), handlers.isEmpty() ? 0 : 1);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), inner);
}

void TestMainWindow::enterPressesPageDefault_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("handlers");
    QTest::newRow("processor") << 0 << QStringList{"Button1Click"};
    QTest::newRow("memory") << 1 << QStringList{"Button3Click"};
    QTest::newRow("video") << 2 << QStringList{"Button5Click"};
    QTest::newRow("hdd") << 3 << QStringList{"Button4Click"};
    QTest::newRow("all tests: Start runs them all") << 4 << allTestsRun;
}

void TestMainWindow::enterPressesPageDefault()
{
    QFETCH(int, page);
    QFETCH(QStringList, handlers);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    fillAllCharts(f);
    QTest::keyClick(&f.form(), Qt::Key_Return); // overview: no default button
    clickTab(f.widget<QTabWidget>("PageControl1"), 1);
    clickTab(f.widget<QTabWidget>("PageControl2"), page);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("FormActivate")});
    // Enter goes to the focused control first (the tabs here), which leaves
    // it to the window.
    QWidget* tabs = f.widget<QTabWidget>("PageControl2")
                        ->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Return);
    QCOMPARE(f.takeHandlers(), handlers);
    if (page == 4) { // also from the read-only log
        f.widget<QPlainTextEdit>("Memo1")->setFocus();
        QTest::keyClick(f.widget<QPlainTextEdit>("Memo1"), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.takeHandlers(), handlers);
    }
}

void TestMainWindow::driveListChangeRunsDiskTest()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    auto* drives = f.widget<QComboBox>("ComboBox1");
    QTest::mouseClick(f.widget<QToolButton>("ToolButton9"), Qt::LeftButton);
    f.takeHandlers();
    drives->setCurrentIndex(1); // not the user's choice
    drives->setCurrentIndex(0);
    QCOMPARE(f.takeHandlers(), QStringList{});
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Down);
    QCOMPARE(drives->currentIndex(), 1);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button4Click")});
    // Picking the drive already selected changes nothing.
    drives->showPopup();
    QTest::keyClick(drives->view(), Qt::Key_Return);
    QVERIFY(!drives->view()->isVisible());
    QCOMPARE(drives->currentIndex(), 1);
    QCOMPARE(f.takeHandlers(), QStringList{});
    drives->showPopup();
    QTest::keyClick(drives->view(), Qt::Key_Up);
    QTest::keyClick(drives->view(), Qt::Key_Return);
    QCOMPARE(drives->currentIndex(), 0);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button4Click")});
}

void TestMainWindow::aboutBoxReactivates()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    fillAllCharts(f);
    f.widget<QPlainTextEdit>("Memo1")->appendPlainText(QStringLiteral("log line"));
    f.takeHandlers();
    QDialog* seen = nullptr;
    Dialogs::SetNextModalAnswer([&seen](QDialog* dialog) {
        seen = dialog;
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(f.widget<QToolButton>("ToolButton3"), Qt::LeftButton);
    QCOMPARE(seen, f.forms.Form5.get());
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("FormActivate")});
    QCOMPARE(f.gatherCount, 2);
    QCOMPARE(f.widget<QPlainTextEdit>("Memo1")->toPlainText(),
             QStringLiteral("Press Start ...\nlog line"));
    QCOMPARE(f.widget<TMyChart>("MyChart1")->Bars.Count, 2); // the charts stay as they were
    QVERIFY(f.widget<QFrame>("Panel1")->isVisible());
}

void TestMainWindow::editorReactivates()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.takeHandlers();
    QDialog* seen = nullptr;
    Dialogs::SetNextModalAnswer([&seen](QDialog* dialog) {
        seen = dialog;
        return int(QDialog::Rejected);
    });
    QTest::keyClick(&f.form(), Qt::Key_F3);
    QCOMPARE(seen, f.forms.Form3.get());
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("FormActivate")});
    QCOMPARE(f.gatherCount, 2);
}

void TestMainWindow::helpAndWebSite()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QVERIFY(QDir(f.directory.path()).mkdir(QStringLiteral("doc")));
    QFile help(f.directory.filePath(QStringLiteral("doc/help.htm")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f.directory.path()));
    QTest::keyClick(&f.form(), Qt::Key_F1);
    QDir::setCurrent(previous);
    f.widget<QAction>("WebSiteItem")->trigger();
    QCOMPARE(f.openedUrls.size(), 2);
    QCOMPARE(f.openedUrls[0],
             QUrl::fromLocalFile(f.directory.filePath(QStringLiteral("doc/help.htm"))));
    QCOMPARE(f.openedUrls[1], QUrl(QStringLiteral("https://quorvix.example/")));
}

// F1 where the desktop cannot open the help (no browser, no desktop): the
// program shows it itself; without a help document, it says where it looked.
void TestMainWindow::helpWithoutDesktop_data()
{
    QTest::addColumn<bool>("document"); // doc/help.htm in the current directory
    QTest::addColumn<bool>("opens");    // whether the desktop takes the address
    QTest::newRow("the desktop shows it") << true << true;
    QTest::newRow("the program shows it") << true << false;
    QTest::newRow("no document") << false << false;
}

void TestMainWindow::helpWithoutDesktop()
{
    QFETCH(bool, document);
    QFETCH(bool, opens);
    QList<QUrl> offered;
    ShellFixture f([&](TForm1Services& services) {
        services.openUrl = [&offered, opens](const QUrl& url) {
            offered << url;
            return opens;
        };
    });
    QVERIFY(f.showAndActivate());
    const QString path = f.directory.filePath(QStringLiteral("doc/help.htm"));
    if (document) {
        QVERIFY(QDir(f.directory.path()).mkdir(QStringLiteral("doc")));
        QFile help(path);
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.write("<html><body><h1>Quorvix help</h1><p>Press F1.</p></body></html>");
    }
    QString error;
    Dialogs::SetNextErrorAnswer([&error](const QString& text) { error = text; });
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f.directory.path()));
    QTest::keyClick(&f.form(), Qt::Key_F1);
    QDir::setCurrent(previous);
    Dialogs::SetNextErrorAnswer({});

    auto* window = f.form().findChild<QDialog*>(QStringLiteral("HelpWindow"));
    QCOMPARE(offered, document ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>{});
    QCOMPARE(window != nullptr && window->isVisible(), document && !opens);
    if (!document) {
        QVERIFY2(error.startsWith("The help document was not found. Looked for:\n" + path),
                 qPrintable(error));
        return;
    }
    QCOMPARE(error, QString());
    if (opens)
        return;
    auto* browser = FindChild<QTextBrowser>(*window, "HelpBrowser");
    QCOMPARE(browser->source(), QUrl::fromLocalFile(path));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Press F1.")));
}

void TestMainWindow::overviewErrorShowsBox()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QTest::mouseClick(f.widget<QToolButton>("ToolButton9"), Qt::LeftButton);
    f.beforeGather = [] { throw std::runtime_error("Cannot read /proc/meminfo"); };
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });
    QTest::mouseClick(f.widget<QToolButton>("ToolButton1"), Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("Cannot read /proc/meminfo."));
    // The command ended where it failed; the window goes on, without the hourglass.
    QCOMPARE(f.widget<QTabWidget>("PageControl1")->currentIndex(), 0);
    QVERIFY(!busy::HourglassShown());
    QVERIFY(f.form().isVisible());
    QCOMPARE(f.widget<QLineEdit>("Edit1")->text(), QStringLiteral("Test CPU, 1000 MHz"));
}

void TestMainWindow::failedFirstActivationShowsPages()
{
    ShellFixture f({}, true);
    f.beforeGather = [] { throw std::runtime_error("Cannot read /etc/os-release"); };
    QString text;
    bool splashHiddenUnderBox = false;
    Dialogs::SetNextErrorAnswer([&](const QString& shown) {
        text = shown;
        splashHiddenUnderBox =
            f.widget<QFrame>("Panel4")->isHidden() && !f.widget<QFrame>("Panel1")->isHidden();
    });
    f.form().show();
    QVERIFY(QTest::qWaitFor([&] { return !text.isEmpty(); }));
    QCOMPARE(text, QStringLiteral("Cannot read /etc/os-release."));
    QVERIFY(splashHiddenUnderBox);
    QVERIFY(QTest::qWaitFor([&] { return f.widget<QFrame>("Panel1")->isVisible(); }));
    QVERIFY(!f.widget<QFrame>("Panel4")->isVisible());
    QVERIFY(!busy::HourglassShown());
    // The next activation works as ever.
    f.beforeGather = nullptr;
    QTest::mouseClick(f.widget<QToolButton>("ToolButton1"), Qt::LeftButton);
    QCOMPARE(f.widget<QLineEdit>("Edit1")->text(), QStringLiteral("Test CPU, 1000 MHz"));
}

void TestMainWindow::exitClosesAndReleases()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QSignalSpy closed(&f.form(), &TForm1::closed);
    QTest::keySequence(&f.form(), QKeySequence(QStringLiteral("Alt+F4")));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!f.form().isVisible());
    f.takeHandlers();
    f.form().FormActivate(); // after closing there is nothing to refresh
    QCOMPARE(f.takeHandlers(), QStringList{});
}

// Dark pixels of a caption drawn black on white, summed.
static int ink(const QLabel& label)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, Qt::white);
    QLabel copy(label.text());
    copy.setFont(label.font());
    copy.setPalette(palette);
    copy.setAutoFillBackground(true);
    copy.resize(120, 20);
    const QImage image = copy.grab().toImage();
    int sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    return sum;
}

void TestMainWindow::fallbackFontsFitTheCaptions()
{
    // Without Tahoma the stand-ins, each where this machine has it, keep the
    // bold captions clear of their fields.
    ShellFixture f;
    const QList<std::pair<QLabel*, QLineEdit*>> rows{
        {f.widget<QLabel>("Label2"), f.widget<QLineEdit>("Edit1")},
        {f.widget<QLabel>("Label15"), f.widget<QLineEdit>("Edit6")},
        {f.widget<QLabel>("Label16"), f.widget<QLineEdit>("Edit7")}};
    int checked = 0;
    for (const QString& family : FontFamilies(QStringLiteral("Tahoma")).mid(1)) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        ++checked;
        QFont font = PixelFont(family, 11, true);
        font.setFamilies({family});
        for (const auto& [label, field] : rows)
            QVERIFY2(label->x() + QFontMetrics(font).horizontalAdvance(label->text()) < field->x(),
                     qPrintable(family + ": " + label->text()));
    }
    QVERIFY2(checked > 0, "none of the stand-in faces is installed here");
}

void TestMainWindow::overviewFieldsTakeTabAndCopy()
{
    ShellFixture f;
    auto* userName = f.widget<QLineEdit>("Edit7");
    QVERIFY(f.showAndActivate());
    f.widget<QLineEdit>("Edit1")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), f.widget<QLineEdit>("Edit1"));
    QStringList order{f.widget<QLineEdit>("Edit1")->objectName()};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"Edit1", "Edit2", "Edit3", "Edit8", "Edit4", "Edit9", "Edit10",
                                 "Edit5", "Edit6", "Edit7"}));
    QTest::keyClick(userName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(userName, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), userName->text());
    QVERIFY(userName->isReadOnly());
}

// The registered fonts reach the fields, charts, captions and log; the charts
// and pages keep their colours and labels.
void TestMainWindow::fontsColoursAndLabelsOfThePages()
{
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        QSKIP("fonts-wine is not installed");
    ShellFixture f;
    auto* label = f.widget<QLabel>("Label2");
    const QFontInfo field(f.widget<QLineEdit>("Edit1")->font());
    QCOMPARE(field.family(), QStringLiteral("Tahoma"));
    QVERIFY(field.bold());
    QCOMPARE(field.pixelSize(), 11);
    const QFontInfo chart(f.widget<TMyChart>("MyChart1")->font());
    QCOMPARE(chart.family(), QStringLiteral("Tahoma"));
    QVERIFY(chart.bold());
    const QFontInfo caption(label->font());
    QCOMPARE(caption.family(), QStringLiteral("Tahoma"));
    QVERIFY(caption.bold());
    QCOMPARE(QFontInfo(f.widget<QPlainTextEdit>("Memo1")->font()).family(),
             QStringLiteral("Fixedsys"));
    // Bold is drawn bold: more ink than the same caption drawn regular.
    QLabel regular(label->text());
    QFont regularFont = label->font();
    regularFont.setBold(false);
    regular.setFont(regularFont);
    QVERIFY2(ink(*label) > ink(regular) * 11 / 10,
             qPrintable(QStringLiteral("%1 %2").arg(ink(*label)).arg(ink(regular))));
    QCOMPARE(f.widget<TMyChart>("MyChart1")->palette().color(QPalette::WindowText),
             QColor(Qt::yellow));
    QCOMPARE(f.widget<TMyChart>("MyChart3")->gradientColor(), 0u);
    QCOMPARE(f.widget<TMyChart>("MyChart1")->gradientColor(), 0x800000u);
    QCOMPARE(f.widget<TMyChart>("MyChart2")->border(), 10);
    QVERIFY(f.widget<TMyChart>("MyChart4")->gradient());
    QCOMPARE(f.widget<QLabel>("Label13")->text(), QString::fromUtf8("Speed inв Kb/sec"));
    // The page captions are readable: the pages do not take the black of the
    // content area behind them.
    const QColor pages = f.widget<QFrame>("Panel2")->palette().color(QPalette::Window);
    QVERIFY(f.widget<QFrame>("Panel2")->autoFillBackground());
    for (QWidget* caption : std::initializer_list<QWidget*>{
             f.widget<QLabel>("Label14"), f.widget<QLabel>("Label17"), f.widget<QLabel>("Label13"),
             f.widget<QRadioButton>("RadioButton1")})
        QVERIFY(caption->palette().color(QPalette::WindowText) != pages);
    QVERIFY(pages != QColor(Qt::black));
    QTemporaryDir empty;
    QCOMPARE(RegisterWindowFonts(empty.path()) + RegisterLogFont(empty.path()), 0);
}
