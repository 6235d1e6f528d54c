// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/BenchError.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <functional>
#include <utility>

namespace {

void writeDatabase(const ShellFixture& f)
{
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\nP=1,2\n"
               "[Video]\nOld card=40\nNew card=3000\n");
}

void refreshBy(ShellFixture& f, const QString& how)
{
    if (how == QLatin1String("tool button")) {
        QTest::mouseClick(f.widget<QToolButton>("ToolButton7"), Qt::LeftButton);
    } else if (how == QLatin1String("Ctrl+V")) {
        QTest::keySequence(&f.form(), QKeySequence(QStringLiteral("Ctrl+V")));
    } else if (how == QLatin1String("menu")) {
        f.widget<QAction>("N13")->trigger();
    } else {
        f.widget<QTabWidget>("PageControl1")->setCurrentIndex(1);
        f.widget<QTabWidget>("PageControl2")->setCurrentIndex(2);
        QTest::mouseClick(f.widget<QPushButton>("Button5"), Qt::LeftButton);
    }
}

// The surface as the kernel found it.
struct SurfaceSeen
{
    bool visible = false;
    QRect geometry;
    QSize filled;
    int calls = 0;
};

// Runs `action` once, when the watched widget is shown.
class OnShow : public QObject
{
public:
    explicit OnShow(std::function<void()> action) : m_action(std::move(action)) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && m_action)
            std::exchange(m_action, nullptr)();
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void TestVideoPage::refreshMeasuresOnTheWholeScreen_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"tool button", "Ctrl+V", "menu", "Refresh"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestVideoPage::refreshMeasuresOnTheWholeScreen()
{
    QFETCH(QString, how);
    ShellFixture f;
    writeDatabase(f);
    SurfaceSeen seen;
    TForm2& surface = *f.forms.Form2;
    f.videoTest = [&](bench::VideoCanvas&, int width, int height) {
        seen = {surface.isVisible(), surface.geometry(), QSize(width, height), seen.calls + 1};
        return std::int64_t{314'572'800};
    };
    QVERIFY(f.showAndActivate());
    const int activations = f.gatherCount;

    refreshBy(f, how);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(seen.calls, 1);
    QVERIFY(seen.visible);
    QCOMPARE(seen.geometry, screen);
    QCOMPARE(seen.filled, screen.size());
    // 314,572,800 pixels a second at the offscreen screen's 32 bits.
    QCOMPARE(f.widget<TMyChart>("MyChart4")->Bars.Items[0].Value, 1200);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), 2);
    QVERIFY(!surface.isVisible());
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), busy::StandardStatusText);
    // The main window becomes active again once the surface is gone.
    QTRY_COMPARE(f.gatherCount, activations + 1);
}

void TestVideoPage::errorLeavesTheSurfaceUntilClicked()
{
    ShellFixture f;
    writeDatabase(f);
    f.videoTest = [](bench::VideoCanvas&, int, int) -> std::int64_t {
        throw bench::BenchError("The test surface could not be read back");
    };
    QVERIFY(f.showAndActivate());
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });

    QTest::mouseClick(f.widget<QToolButton>("ToolButton7"), Qt::LeftButton);

    QCOMPARE(text, QStringLiteral("The test surface could not be read back."));
    TForm2& surface = *f.forms.Form2;
    QVERIFY(surface.isVisible());
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!surface.isVisible());
}

// The offscreen platform fills a backing store: the own bar's caption says
// so beside the figure, the chart's tool tip says why, and the editor's new
// row does not take the figure. A failed refresh leaves no figure to qualify.
void TestVideoPage::backingStoreFigureIsMarked()
{
    ShellFixture f;
    writeDatabase(f);
    QVERIFY(f.showAndActivate());
    const TMyChart* chart = f.widget<TMyChart>("MyChart4");

    refreshBy(f, QStringLiteral("tool button"));

    QCOMPARE(chart->Bars.Items[0].Value, 1200);
    QCOMPARE(chart->Bars.Items[0].Caption, QStringLiteral("Your video (backing store)"));
    QCOMPARE(chart->toolTip(),
             QStringLiteral("backing store (not comparable with X server fills)"));
    QCOMPARE(chart->Bars.Count, 5);
    QCOMPARE(f.form().session().machineValues().videoChart.count, 0); // a new row reads 0

    f.failingKernel = QStringLiteral("video");
    Dialogs::SetNextErrorAnswer([](const QString&) {});
    refreshBy(f, QStringLiteral("tool button"));
    QCOMPARE(chart->Bars.Items[0].Caption, QStringLiteral("Your video"));
    QCOMPARE(chart->toolTip(), QString());
    QTest::mouseClick(f.forms.Form2.get(), Qt::LeftButton, {}, QPoint(10, 10));
}

void TestVideoPage::closeWhileTheSurfaceWaitsMeasuresNothing()
{
    // The main window closes while the shown surface waits to be exposed: the
    // measurement does not start and the surface goes.
    ShellFixture f;
    writeDatabase(f);
    int kernelCalls = 0;
    f.videoTest = [&](bench::VideoCanvas&, int, int) -> std::int64_t {
        ++kernelCalls;
        return 1;
    };
    QVERIFY(f.showAndActivate());
    TForm1& form = f.form();
    TForm2& surface = *f.forms.Form2;
    OnShow closeMain([&form] {
        QMetaObject::invokeMethod(
            &form, [&form] { form.windowHandle()->close(); }, Qt::QueuedConnection);
    });
    surface.installEventFilter(&closeMain);
    QSignalSpy closed(&form, &TForm1::closed);
    QString error;
    Dialogs::SetNextErrorAnswer([&error](const QString& shown) { error = shown; });

    QTest::keySequence(&form, QKeySequence(QStringLiteral("Ctrl+V")));
    Dialogs::SetNextErrorAnswer(nullptr);

    QCOMPARE(closed.count(), 1);
    QCOMPARE(kernelCalls, 0);
    QVERIFY(!surface.isVisible());
    QCOMPARE(error, QString());
}
