// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

void writeDatabase(const ShellFixture& f, const QByteArray& rows)
{
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\n" + rows);
}

void refreshBy(ShellFixture& f, const QString& how)
{
    auto* pages = f.widget<QTabWidget>("PageControl1");
    if (how == QLatin1String("tool button")) {
        QTest::mouseClick(f.widget<QToolButton>("ToolButton5"), Qt::LeftButton);
    } else if (how == QLatin1String("Ctrl+P")) {
        QTest::keySequence(&f.form(), QKeySequence(QStringLiteral("Ctrl+P")));
    } else if (how == QLatin1String("first visit")) {
        QTabBar* bar = pages->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else {
        pages->setCurrentIndex(1);
        QTest::mouseClick(f.widget<QPushButton>("Button1"), Qt::LeftButton);
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

    // The session's refresh drew on the processor chart (the scores and rows
    // are the page's own tests) and ended the busy state.
    const TMyChart& chart = *f.widget<TMyChart>("MyChart1");
    QCOMPARE(chart.Bars.Count, 8);
    QCOMPARE(chart.Bars.Items[0].Value, 450);
    QCOMPARE(f.form().session().results().processor->cpuPasses, 600);
    QCOMPARE(f.widget<QTabWidget>("PageControl1")->currentIndex(), 1);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), 0);
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}

void TestProcessorPage::rejectedRowLeavesBusyState()
{
    ShellFixture f;
    writeDatabase(f, "Good=300,250\nBad=12 x\n");
    QVERIFY(f.showAndActivate());
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });
    QTest::mouseClick(f.widget<QToolButton>("ToolButton5"), Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("'x' is not a valid integer value."));
    auto* status = f.widget<QStatusBar>("StatusBar1");
    QCOMPARE(busy::StatusText(status), busy::StandByText);
    QVERIFY(busy::HourglassShown());

    // The next refresh that finishes ends the busy state.
    writeDatabase(f, "Good=300,250\n");
    QTest::mouseClick(f.widget<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f.widget<TMyChart>("MyChart1")->Bars.Count, 5);
    QCOMPARE(busy::StatusText(status), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}
