// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/ReferenceMachine.h"
#include "controls/Busy.h"
#include "database/ComparisonDatabase.h"
#include "shell/Dialogs.h"
#include "shell/Fonts.h"

#include "controls/ResourceImage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

namespace {

// The all-tests run after the overview: every page once, the disk test for
// each of the fixture's two drives. Once the test surface has gone the main
// window is activated again, when it has been painted: in the passes over
// events of the disk tests.
const QStringList allTestsRun{"Button1Click", "Button3Click", "Button5Click",
                              "Button4Click", "FormActivate", "Button4Click"};

void clickTab(QTabWidget* tabs, int index)
{
    QTabBar* bar = tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void fillAllCharts(const Form1View& ui)
{
    for (TMyChart* chart : {ui.MyChart1, ui.MyChart2, ui.MyChart3, ui.MyChart4})
        chart->AddBar(QStringLiteral("Reference"), 100, 0x00FF00);
}

QWidget* named(const TForm1& form, const QString& name)
{
    return form.findChild<QWidget*>(name);
}

} // namespace

void TestMainWindow::startUpState()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(ui.Panel1->isHidden());
    QVERIFY(!ui.Panel4->isHidden());
    // Centred over the content area: ((593 - 393) div 2, (430 - 349) div 2 + 34).
    QCOMPARE(ui.Panel4->pos(), QPoint(100, 74));
    QCOMPARE(ui.Memo1->toPlainText(), QStringLiteral("Press Start ..."));
    QCOMPARE(busy::StatusText(ui.StatusBar1), QString());
    QCOMPARE(ui.ComboBox1->count(), 2);
    QCOMPARE(ui.ComboBox1->currentText(), QStringLiteral("Drive /"));
    // The item shows the escaped text; the disk test gets the real path.
    QCOMPARE(ui.ComboBox1->itemText(1), QStringLiteral("Drive /home/a\\012b"));
    f.diskRates.insert(QStringLiteral("/home/a\nb"), 77);
    ui.ComboBox1->setCurrentIndex(1);
    f.form().Button4Click();
    QCOMPARE(ui.MyChart3->Bars.Items[0].Value, 77);
    f.takeHandlers();
    QCOMPARE(ui.Edit4->text(), QStringLiteral("/ 100 Gb; /home 200 Gb"));
    QVERIFY(ui.Edit1->text().isEmpty());
    QCOMPARE(f.gatherCount, 0);
    QCOMPARE(ui.PageControl1->currentIndex(), 0);
    QCOMPARE(ui.PageControl2->currentIndex(), 0);
    QVERIFY(ui.RadioButton1->isChecked());
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
    const TForm1 form(services);
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/base.ini"));
    QCOMPARE(form.database().path(), config.filePath(QStringLiteral("quorvix/base.ini")));
}

void TestMainWindow::readyAfterActivation()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    QCOMPARE(f.gatherCount, 1);
    QVERIFY(f.splashVisibleWhileGathering);
    QVERIFY(f.hourglassWhileGathering);
    QCOMPARE(f.statusWhileGathering, QStringLiteral("Quorvix 2000.  Designed by Varnholt"));
    QVERIFY(ui.Panel1->isVisible());
    QVERIFY(!ui.Panel4->isVisible());
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(ui.Edit1->text(), QStringLiteral("Test CPU, 1000 MHz"));
    QCOMPARE(ui.Edit2->text(), QStringLiteral("512 Mb, load 10%"));
    QCOMPARE(ui.Edit5->text(), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
    QCOMPARE(ui.Edit6->text(), QStringLiteral("testhost"));
    QCOMPARE(ui.Edit7->text(), QStringLiteral("tester"));
    QCOMPARE(ui.Edit10->text(), QStringLiteral("Test mouse"));
    QCOMPARE(ui.Edit4->text(), QStringLiteral("/ 100 Gb; /home 200 Gb"));
    QCOMPARE(ui.Memo1->toPlainText(), QStringLiteral("Press Start ..."));
    // Centred on the screen.
    const QPoint offset =
        f.form().geometry().center() - f.form().screen()->availableGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestMainWindow::reactivationRefillsFields()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    f.fields.processor = QStringLiteral("A processor name far too long for the field, 2400 MHz");
    f.fields.os.reset(); // the version key could not be read this time
    QTest::mouseClick(ui.ToolButton1, Qt::LeftButton);
    QCOMPARE(f.gatherCount, 2);
    QCOMPARE(ui.Edit1->text(), f.fields.processor);
    QCOMPARE(ui.Edit1->cursorPosition(), 0); // the start of the text shows
    QCOMPARE(ui.Edit5->text(), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
}

void TestMainWindow::scalingValuesReadAtActivation()
{
    ShellFixture f;
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[DATA]\r\nPIIMultCPU=120\r\nPIIMultFPU=-7\r\nPIIFreq=$1F4\r\n");
    file.close();
    QVERIFY(f.showAndActivate());
    const bench::ReferenceMachine& reference = f.form().session().benchState().reference;
    QCOMPARE(reference.PIIMultCPU, 120);
    QCOMPARE(reference.PIIMultFPU, -7);
    QCOMPARE(reference.PIIFreq, 500);
    // Read again at every activation: the file changed in between.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\r\nPIIMultCPU=1\r\n");
    file.close();
    QTest::mouseClick(f.ui().ToolButton1, Qt::LeftButton);
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
    QCOMPARE(f.ui().ClientArea->size(), QSize(595, 466));
    QCOMPARE(f.form().minimumSize(), f.form().maximumSize());
    QVERIFY(!f.form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.ui().StatusBar1->height(), 19);
    QVERIFY(!f.ui().StatusBar1->isSizeGripEnabled());
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
    QVERIFY(icon->hasImage());
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
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    f.takeHandlers();
    // "Benchmarks" shows the processor page first, so that is what runs.
    clickTab(ui.PageControl1, 1);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button1Click")});
    if (page == 0)
        return;
    clickTab(ui.PageControl2, page);
    QCOMPARE(ui.PageControl2->currentIndex(), page);
    QCOMPARE(f.takeHandlers(), handlers);
    if (page == 2) { // the rows and the own bar at 0, nothing measured
        QVERIFY(ui.MyChart4->Bars.Count > 0);
        QCOMPARE(ui.MyChart4->Bars.Items[0].Value, 0);
    }
}

void TestMainWindow::chartWithBarsIsNotRefreshed()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    fillAllCharts(ui);
    f.takeHandlers();
    clickTab(ui.PageControl1, 1);
    for (int page = 1; page < 5; ++page)
        clickTab(ui.PageControl2, page);
    clickTab(ui.PageControl2, 0);
    clickTab(ui.PageControl1, 0);
    clickTab(ui.PageControl1, 1);
    QCOMPARE(ui.PageControl1->currentIndex(), 1);
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
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    if (withBars)
        fillAllCharts(ui);
    f.takeHandlers();
    for (const QString& name : buttons)
        QTest::mouseClick(named(f.form(), name), Qt::LeftButton);
    QCOMPARE(f.takeHandlers(), handlers);
    QCOMPARE(ui.PageControl1->currentIndex(), outer);
    QCOMPARE(ui.PageControl2->currentIndex(), inner);
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
    QCOMPARE(f.ui().PageControl1->currentIndex(), handlers.isEmpty() ? 0 : 1);
    QCOMPARE(f.ui().PageControl2->currentIndex(), inner);
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
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    fillAllCharts(ui);
    QTest::keyClick(&f.form(), Qt::Key_Return); // overview: no default button
    clickTab(ui.PageControl1, 1);
    clickTab(ui.PageControl2, page);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("FormActivate")});
    // Enter goes to the focused control first (the tabs here), which leaves
    // it to the window.
    QWidget* tabs = ui.PageControl2->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Return);
    QCOMPARE(f.takeHandlers(), handlers);
    if (page == 4) { // also from the read-only log
        ui.Memo1->setFocus();
        QTest::keyClick(ui.Memo1, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.takeHandlers(), handlers);
    }
}

void TestMainWindow::driveListChangeRunsDiskTest()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    QTest::mouseClick(ui.ToolButton9, Qt::LeftButton);
    f.takeHandlers();
    ui.ComboBox1->setCurrentIndex(1); // not the user's choice
    ui.ComboBox1->setCurrentIndex(0);
    QCOMPARE(f.takeHandlers(), QStringList{});
    ui.ComboBox1->setFocus();
    QTest::keyClick(ui.ComboBox1, Qt::Key_Down);
    QCOMPARE(ui.ComboBox1->currentIndex(), 1);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button4Click")});
    // Picking the drive already selected changes nothing.
    ui.ComboBox1->showPopup();
    QTest::keyClick(ui.ComboBox1->view(), Qt::Key_Return);
    QVERIFY(!ui.ComboBox1->view()->isVisible());
    QCOMPARE(ui.ComboBox1->currentIndex(), 1);
    QCOMPARE(f.takeHandlers(), QStringList{});
    ui.ComboBox1->showPopup();
    QTest::keyClick(ui.ComboBox1->view(), Qt::Key_Up);
    QTest::keyClick(ui.ComboBox1->view(), Qt::Key_Return);
    QCOMPARE(ui.ComboBox1->currentIndex(), 0);
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("Button4Click")});
}

void TestMainWindow::aboutBoxReactivates()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    fillAllCharts(ui);
    ui.Memo1->appendPlainText(QStringLiteral("log line"));
    f.takeHandlers();
    QDialog* seen = nullptr;
    Dialogs::SetNextModalAnswer([&seen](QDialog* dialog) {
        seen = dialog;
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(ui.ToolButton3, Qt::LeftButton);
    QCOMPARE(seen, f.forms.Form5.get());
    QCOMPARE(f.takeHandlers(), QStringList{QStringLiteral("FormActivate")});
    QCOMPARE(f.gatherCount, 2);
    QCOMPARE(ui.Memo1->toPlainText(), QStringLiteral("Press Start ...\nlog line"));
    QCOMPARE(ui.MyChart1->Bars.Count, 1);
    QVERIFY(ui.Panel1->isVisible());
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
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f.directory.path()));
    QTest::keyClick(&f.form(), Qt::Key_F1);
    QDir::setCurrent(previous);
    f.ui().WebSiteItem->trigger();
    QCOMPARE(f.openedUrls.size(), 2);
    QCOMPARE(f.openedUrls[0],
             QUrl::fromLocalFile(f.directory.filePath(QStringLiteral("doc/help.htm"))));
    QCOMPARE(f.openedUrls[1], QUrl(QStringLiteral("https://quorvix.example/")));
}

void TestMainWindow::overviewErrorShowsBox()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    QVERIFY(f.showAndActivate());
    QTest::mouseClick(ui.ToolButton9, Qt::LeftButton);
    f.beforeGather = [] { throw std::runtime_error("Cannot read /proc/meminfo"); };
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });
    QTest::mouseClick(ui.ToolButton1, Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("Cannot read /proc/meminfo."));
    // The command ended where it failed; the window goes on, without the hourglass.
    QCOMPARE(ui.PageControl1->currentIndex(), 0);
    QVERIFY(!busy::HourglassShown());
    QVERIFY(f.form().isVisible());
    QCOMPARE(ui.Edit1->text(), QStringLiteral("Test CPU, 1000 MHz"));
}

void TestMainWindow::failedFirstActivationShowsPages()
{
    ShellFixture f;
    const Form1View ui = f.ui();
    f.beforeGather = [] { throw std::runtime_error("Cannot read /etc/os-release"); };
    QString text;
    bool splashHiddenUnderBox = false;
    Dialogs::SetNextErrorAnswer([&](const QString& shown) {
        text = shown;
        splashHiddenUnderBox = ui.Panel4->isHidden() && !ui.Panel1->isHidden();
    });
    f.form().show();
    QVERIFY(QTest::qWaitFor([&] { return !text.isEmpty(); }));
    QCOMPARE(text, QStringLiteral("Cannot read /etc/os-release."));
    QVERIFY(splashHiddenUnderBox);
    QVERIFY(QTest::qWaitFor([&] { return ui.Panel1->isVisible(); }));
    QVERIFY(!ui.Panel4->isVisible());
    QVERIFY(!busy::HourglassShown());
    // The next activation works as ever.
    f.beforeGather = nullptr;
    QTest::mouseClick(ui.ToolButton1, Qt::LeftButton);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("Test CPU, 1000 MHz"));
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
    const Form1View ui = f.ui();
    const QList<std::pair<QLabel*, QLineEdit*>> rows{
        {ui.Label2, ui.Edit1}, {ui.Label15, ui.Edit6}, {ui.Label16, ui.Edit7}};
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
    QVERIFY(f.showAndActivate());
    const Form1View ui = f.ui();
    ui.Edit1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), ui.Edit1);
    QStringList order{ui.Edit1->objectName()};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"Edit1", "Edit2", "Edit3", "Edit8", "Edit4", "Edit9", "Edit10",
                                 "Edit5", "Edit6", "Edit7"}));
    QTest::keyClick(ui.Edit7, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ui.Edit7, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), ui.Edit7->text());
    QVERIFY(ui.Edit7->isReadOnly());
}

// The registered fonts reach the fields, charts, captions and log; the charts
// and pages keep their colours and labels.
void TestMainWindow::fontsColoursAndLabelsOfThePages()
{
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        QSKIP("fonts-wine is not installed");
    ShellFixture f;
    const Form1View ui = f.ui();
    const QFontInfo field(ui.Edit1->font());
    QCOMPARE(field.family(), QStringLiteral("Tahoma"));
    QVERIFY(field.bold());
    QCOMPARE(field.pixelSize(), 11);
    const QFontInfo chart(ui.MyChart1->font());
    QCOMPARE(chart.family(), QStringLiteral("Tahoma"));
    QVERIFY(chart.bold());
    const QFontInfo caption(ui.Label2->font());
    QCOMPARE(caption.family(), QStringLiteral("Tahoma"));
    QVERIFY(caption.bold());
    QCOMPARE(QFontInfo(ui.Memo1->font()).family(), QStringLiteral("Fixedsys"));
    // Bold is drawn bold: more ink than the same caption drawn regular.
    QLabel regular(ui.Label2->text());
    QFont regularFont = ui.Label2->font();
    regularFont.setBold(false);
    regular.setFont(regularFont);
    QVERIFY2(ink(*ui.Label2) > ink(regular) * 11 / 10,
             qPrintable(QStringLiteral("%1 %2").arg(ink(*ui.Label2)).arg(ink(regular))));
    QCOMPARE(ui.MyChart1->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QCOMPARE(ui.MyChart3->gradientColor(), 0u);
    QCOMPARE(ui.MyChart1->gradientColor(), 0x800000u);
    QCOMPARE(ui.MyChart2->border(), 10);
    QVERIFY(ui.MyChart4->gradient());
    QCOMPARE(ui.Label13->text(), QString::fromUtf8("Speed inв Kb/sec"));
    // The page captions are readable: the pages do not take the black of the
    // content area behind them.
    const QColor pages = ui.Panel2->palette().color(QPalette::Window);
    QVERIFY(ui.Panel2->autoFillBackground());
    for (QWidget* caption :
         std::initializer_list<QWidget*>{ui.Label14, ui.Label17, ui.Label13, ui.RadioButton1})
        QVERIFY(caption->palette().color(QPalette::WindowText) != pages);
    QVERIFY(pages != QColor(Qt::black));
    QTemporaryDir empty;
    QCOMPARE(RegisterFonts(empty.path()), 0);
}
