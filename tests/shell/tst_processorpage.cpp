// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/ProcessorPage.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QFile>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>

namespace {

void writeDatabase(const ShellFixture& f, const QByteArray& rows)
{
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\n" + rows);
}

void refreshBy(ShellFixture& f, const QString& how)
{
    const Form1View ui = f.ui();
    if (how == QLatin1String("tool button")) {
        QTest::mouseClick(ui.ToolButton5, Qt::LeftButton);
    } else if (how == QLatin1String("Ctrl+P")) {
        QTest::keySequence(&f.form(), QKeySequence(QStringLiteral("Ctrl+P")));
    } else if (how == QLatin1String("first visit")) {
        QTabBar* bar = ui.PageControl1->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else {
        ui.PageControl1->setCurrentIndex(1);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
    }
}

} // namespace

void TestProcessorPage::refreshCharts_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"tool button", "Ctrl+P", "first visit", "Refresh"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestProcessorPage::refreshCharts()
{
    QFETCH(QString, how);
    ShellFixture f;
    writeDatabase(f, "Ref A=300,250\nRef B=100\n");
    QVERIFY(f.showAndActivate());
    refreshBy(f, how);

    const TMyChart& chart = *f.ui().MyChart1;
    QCOMPARE(chart.Bars.Count, 8);
    // 600 / 400 * 300 and 300 / 200 * 300.
    QCOMPARE(chart.Bars.Items[0].Caption, QStringLiteral("Your CPU"));
    QCOMPARE(chart.Bars.Items[0].Value, 450);
    QCOMPARE(chart.Bars.Items[1].Caption, QStringLiteral("FPU"));
    QCOMPARE(chart.Bars.Items[1].Value, 450);
    QCOMPARE(chart.Bars.Items[3].Caption, QStringLiteral("Ref A CPU"));
    QCOMPARE(chart.Bars.Items[4].Value, 250);
    QCOMPARE(chart.Bars.Items[6].Caption, QStringLiteral("Ref B CPU"));
    QCOMPARE(chart.Bars.Items[7].Value, 100);
    QCOMPARE(f.form().session().benchState().LastCpuCount, 600);
    QCOMPARE(f.form().session().benchState().LastFpuCount, 300);
    QCOMPARE(f.ui().PageControl1->currentIndex(), 1);
    QCOMPARE(f.ui().PageControl2->currentIndex(), 0);
    QCOMPARE(busy::StatusText(f.ui().StatusBar1), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}

void TestProcessorPage::rejectedRowLeavesBusyState()
{
    ShellFixture f;
    writeDatabase(f, "Good=300,250\nBad=12 x\n");
    QVERIFY(f.showAndActivate());
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });
    QTest::mouseClick(f.ui().ToolButton5, Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("'x' is not a valid integer value."));
    const Form1View ui = f.ui();
    // Own bars, the good row, and the bad row's spacer and CPU bar stay.
    QCOMPARE(ui.MyChart1->Bars.Count, 7);
    QCOMPARE(ui.MyChart1->Bars.Items[0].Value, 0);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandByText);
    QVERIFY(busy::HourglassShown());

    // The next refresh that finishes ends the busy state.
    writeDatabase(f, "Good=300,250\n");
    QTest::mouseClick(ui.Button1, Qt::LeftButton);
    QCOMPARE(ui.MyChart1->Bars.Count, 5);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}
