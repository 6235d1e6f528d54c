// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

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
    if (action == QLatin1String("Ctrl+M")) {
        QTest::keySequence(&f.form(), QKeySequence(action));
    } else if (action == QLatin1String("menu item")) {
        f.widget<QAction>("N12")->trigger();
    } else if (action == QLatin1String("first visit")) {
        clickTab(f.widget<QTabWidget>("PageControl1"), 1);
        clickTab(f.widget<QTabWidget>("PageControl2"), 1);
    } else if (action == QLatin1String("select RadioButton1")) {
        f.widget<QRadioButton>("RadioButton1")->setChecked(true);
    } else {
        QTest::mouseClick(f.widget<QWidget>(action.toLatin1().constData()), Qt::LeftButton);
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

    for (const QString& action : actions)
        act(f, action);

    // The kernels ran in the selected mode and the bars went to the memory
    // chart: one per block and direction, or the own bar and two rows.
    QCOMPARE(f.memoryCalls, calls);
    QCOMPARE(f.widget<TMyChart>("MyChart2")->Bars.Count, fullChart ? 26 : 5);
    QCOMPARE(f.widget<QRadioButton>("RadioButton2")->isChecked(), fullChart);
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}

void TestMemoryPage::rejectedRowLeavesBusyState()
{
    ShellFixture f;
    writeDatabase(f, "Good=1200\nBad=12 x\n");
    QVERIFY(f.showAndActivate());
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });

    QTest::mouseClick(f.widget<QToolButton>("ToolButton6"), Qt::LeftButton);

    // Busy until the next refresh finishes.
    QCOMPARE(text, QStringLiteral("'12 x' is not a valid integer value."));
    auto* status = f.widget<QStatusBar>("StatusBar1");
    QCOMPARE(busy::StatusText(status), busy::StandByText);
    QVERIFY(busy::HourglassShown());

    QTest::mouseClick(f.widget<QRadioButton>("RadioButton2"), Qt::LeftButton);
    QCOMPARE(f.widget<TMyChart>("MyChart2")->Bars.Count, 26);
    QCOMPARE(busy::StatusText(status), busy::StandardStatusText);
    QVERIFY(!busy::HourglassShown());
}
