// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/TestBuffer.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QFile>
#include <QTabBar>
#include <QTest>

namespace {

void writeDatabase(const ShellFixture& f, const QByteArray& rows)
{
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Memory]\n" + rows);
}

void clickTab(QTabWidget* tabs, int index)
{
    QTabBar* bar = tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Does what the user (or, for "select RadioButton1", the all-tests run) does.
void act(ShellFixture& f, const QString& action)
{
    const Form1View ui = f.ui();
    if (action == QLatin1String("Ctrl+M")) {
        QTest::keySequence(&f.form(), QKeySequence(action));
    } else if (action == QLatin1String("menu item")) {
        ui.N12->trigger();
    } else if (action == QLatin1String("first visit")) {
        clickTab(ui.PageControl1, 1);
        clickTab(ui.PageControl2, 1);
    } else if (action == QLatin1String("select RadioButton1")) {
        ui.RadioButton1->setChecked(true);
    } else {
        QTest::mouseClick(f.form().findChild<QWidget*>(action), Qt::LeftButton);
    }
}

// The kernel calls of one comparative test and of one full test.
const QStringList kComparative{"read 4194304", "write 4194304"};

QStringList fullCalls()
{
    QStringList calls;
    for (int i = 0; i < 13; ++i)
        calls << QString("read %1").arg(1024 << i) << QString("write %1").arg(1024 << i);
    return calls;
}

} // namespace

void TestMemoryPage::commandsRunTheSelectedMode_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("fullChart");

    // The radio buttons and Refresh are clicked on the page, which its first
    // visit has measured.
    const QStringList full = fullCalls();
    const QStringList visit = kComparative;
    QTest::newRow("tool button") << QStringList{"ToolButton6"} << kComparative << false;
    QTest::newRow("Ctrl+M") << QStringList{"Ctrl+M"} << kComparative << false;
    QTest::newRow("menu item") << QStringList{"menu item"} << kComparative << false;
    QTest::newRow("first visit") << QStringList{"first visit"} << kComparative << false;
    QTest::newRow("Refresh") << QStringList{"first visit", "Button3"} << visit + kComparative
                             << false;
    QTest::newRow("full test button")
        << QStringList{"first visit", "RadioButton2"} << visit + full << true;
    QTest::newRow("Refresh reruns the full test")
        << QStringList{"first visit", "RadioButton2", "Button3"} << visit + full + full << true;
    QTest::newRow("tool button in full mode")
        << QStringList{"first visit", "RadioButton2", "ToolButton6"} << visit + full + full << true;
    QTest::newRow("back to comparative")
        << QStringList{"first visit", "RadioButton2", "RadioButton1"} << visit + full + kComparative
        << false;
    QTest::newRow("the selected button again runs nothing")
        << QStringList{"first visit", "RadioButton1"} << visit << false;
    QTest::newRow("selected by the program")
        << QStringList{"first visit", "RadioButton2", "select RadioButton1"}
        << visit + full + kComparative << false;
}

void TestMemoryPage::commandsRunTheSelectedMode()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, calls);
    QFETCH(bool, fullChart);
    ShellFixture f;
    writeDatabase(f, "Ref A=1200\nRef B=800\n");
    QVERIFY(f.showAndActivate());
    const Form1View ui = f.ui();

    for (const QString& action : actions)
        act(f, action);

    QCOMPARE(f.memoryCalls, calls);
    const TMyChart& chart = *ui.MyChart2;
    if (fullChart) {
        QCOMPARE(chart.Bars.Count, 26);
        QCOMPARE(chart.Bars.Items[0].Caption, QStringLiteral("1 Kb read"));
        QCOMPARE(chart.Bars.Items[0].Value, 1001);
        QCOMPARE(chart.Bars.Items[24].Caption, QStringLiteral("4096 Kb read"));
        QCOMPARE(chart.Bars.Items[25].Caption, QStringLiteral("write"));
        QCOMPARE(chart.Bars.Items[25].Value, 6096);
    } else {
        // (5096 + 6096) / 2 MiB/s beside the rows.
        QCOMPARE(chart.Bars.Count, 5);
        QCOMPARE(chart.Bars.Items[0].Caption, QStringLiteral("Your memory"));
        QCOMPARE(chart.Bars.Items[0].Value, 5596);
        QCOMPARE(chart.Bars.Items[4].Caption, QStringLiteral("Ref B"));
        QCOMPARE(chart.Bars.Items[4].Value, 800);
    }
    QCOMPARE(ui.RadioButton2->isChecked(), fullChart);
    QCOMPARE(bench::TestBufferAddress(), nullptr);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}

void TestMemoryPage::otherTagOnlyShowsTheBusyState()
{
    ShellFixture f;
    writeDatabase(f, "Ref=1\n");
    QVERIFY(f.showAndActivate());
    QObject sender;
    sender.setProperty("tag", 3);
    f.memoryCalls.clear();

    f.form().RadioButton1Click(&sender);

    QVERIFY(f.memoryCalls.isEmpty());
    QCOMPARE(f.ui().MyChart2->Bars.Count, 0);
    QCOMPARE(busy::StatusText(f.ui().StatusBar1), busy::StandardStatusText);
}

void TestMemoryPage::rejectedRowReleasesTheBuffer()
{
    ShellFixture f;
    writeDatabase(f, "Good=1200\nBad=12 x\n");
    QVERIFY(f.showAndActivate());
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });
    f.memoryCalls.clear();

    QTest::mouseClick(f.ui().ToolButton6, Qt::LeftButton);

    QCOMPARE(text, QStringLiteral("'12 x' is not a valid integer value."));
    const Form1View ui = f.ui();
    QCOMPARE(bench::TestBufferAddress(), nullptr);
    QVERIFY(f.memoryCalls.isEmpty());
    // Own bar, the good row and the bad row's spacer stay; busy until the
    // next refresh finishes.
    QCOMPARE(ui.MyChart2->Bars.Count, 4);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandByText);
    QVERIFY(busy::HourglassShown());

    QTest::mouseClick(ui.RadioButton2, Qt::LeftButton);
    QCOMPARE(ui.MyChart2->Bars.Count, 26);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}
