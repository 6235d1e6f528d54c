// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "FakeInsight.h"
#include "Fixture.h"
#include "controls/Busy.h"
#include "controls/SmallBars.h"
#include "controls/TimePlot.h"
#include "shell/ContextWindow.h"
#include "shell/Dialogs.h"
#include "shell/HistoryWindow.h"

#include "report/History.h"
#include "results/ResultStore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

// XDG_DATA_HOME in a temporary directory while it lives: where results are kept.
class ResultsHome
{
public:
    ResultsHome() : m_before(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
    }
    ~ResultsHome() { qputenv("XDG_DATA_HOME", m_before); }
    ResultsHome(const ResultsHome&) = delete;
    ResultsHome& operator=(const ResultsHome&) = delete;

    QStringList kept() const { return report::KeptResults(report::ResultsDirectory()); }

private:
    QTemporaryDir m_home;
    QByteArray m_before;
};

QAction* action(const ShellFixture& f, const char* name)
{
    return f.form().findChild<QAction*>(name);
}

void press(ShellFixture& f, const char* keys)
{
    QApplication::setActiveWindow(&f.form());
    QTest::keySequence(&f.form(), QKeySequence(keys));
}

HistoryWindow* historyWindow(const ShellFixture& f)
{
    return f.form().findChild<HistoryWindow*>("HistoryWindow");
}

} // namespace

void TestHistoryWindow::keepIsEnabledByAMeasuredFigure_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("failingKernel");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("processor") << "Ctrl+P"
                               << "" << true;
    QTest::newRow("drive") << "Ctrl+D"
                           << "" << true;
    QTest::newRow("failed memory refresh") << "Ctrl+M"
                                           << "memory" << false;
}

void TestHistoryWindow::keepIsEnabledByAMeasuredFigure()
{
    QFETCH(QString, command);
    QFETCH(QString, failingKernel);
    QFETCH(bool, enabled);
    const ResultsHome home;
    ShellFixture f;
    f.failingKernel = failingKernel;
    QVERIFY(f.showAndActivate());
    QAction* keep = action(f, "KeepResultsItem");
    QVERIFY(keep != nullptr);
    QCOMPARE(keep->shortcut(), QKeySequence("Ctrl+K"));
    QVERIFY(!keep->isEnabled());
    Dialogs::SetNextErrorAnswer([](const QString&) {});
    press(f, command.toLatin1().constData());
    Dialogs::SetNextErrorAnswer(nullptr);
    QCOMPARE(keep->isEnabled(), enabled);
    press(f, "Ctrl+K");
    QCOMPARE(home.kept().size(), enabled ? 1 : 0);
    QVERIFY(!keep->isEnabled()); // nothing new to keep
}

// Keep results, then History: the kept result is a row and its figures are
// plots; two rows chosen show the comparison's lines.
void TestHistoryWindow::keptResultsAppearInTheHistory()
{
    const ResultsHome home;
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    press(f, "Ctrl+P");
    press(f, "Ctrl+K");
    QCOMPARE(home.kept().size(), 1);
    QCOMPARE(f.widget<QStatusBar>("StatusBar1")->currentMessage(),
             "Results kept in " + home.kept().first());
    press(f, "Ctrl+D");
    // The message gives way to the busy frame's text.
    QVERIFY(f.widget<QStatusBar>("StatusBar1")->currentMessage().isEmpty());
    press(f, "Ctrl+K");
    press(f, "Ctrl+H");
    HistoryWindow* window = historyWindow(f);
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    auto* table = FindChild<QTableWidget>(*window, "ResultTable");
    QCOMPARE(table->rowCount(), 2);
    QStringList plots;
    for (const TimePlot* plot : window->findChildren<TimePlot*>())
        plots << plot->series().name;
    QCOMPARE(plots, (QStringList{"CPU score", "FPU score", "Drive /"}));
    QVERIFY(FindChild<QLabel>(*window, "EmptyLabel")->isHidden());

    auto* verdicts = FindChild<QPlainTextEdit>(*window, "VerdictText");
    table->selectRow(0);
    QVERIFY(verdicts->toPlainText().isEmpty());
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<report::SavedResult>& results = window->history().results;
    QCOMPARE(verdicts->toPlainText(), report::HistoryVerdicts(results[0], results[1]).join('\n'));
    QVERIFY(verdicts->toPlainText().contains("spread unknown"));
}

void TestHistoryWindow::emptyHistorySaysWhatToDo()
{
    const ResultsHome home;
    HistoryWindow window;
    window.showDirectory(report::ResultsDirectory());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* label = FindChild<QLabel>(window, "EmptyLabel");
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), report::kNoHistory);
    QVERIFY(window.findChildren<TimePlot*>().isEmpty());
}

void TestHistoryWindow::plotDrawsInThePalettesLineColour_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// The line and its dots are drawn in the line colour of the window's
// palette, which differs between light and dark palettes.
void TestHistoryWindow::plotDrawsInThePalettesLineColour()
{
    QFETCH(bool, dark);
    TimePlot plot;
    QPalette palette = plot.palette();
    palette.setColor(QPalette::Base, dark ? QColor(0x20, 0x20, 0x20) : Qt::white);
    palette.setColor(QPalette::Text, dark ? Qt::white : Qt::black);
    plot.setPalette(palette);
    plot.setSeries({"Memory", "MiB/s", {{0, 5000, 4900, 5200}, {86'400'000, 6000, 5800, 6100}}});
    plot.resize(400, 160);
    const QImage image = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor line = TimePlot::LineColor(palette);
    QCOMPARE(line.lightness() > 128, dark);
    int linePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            linePixels += image.pixelColor(x, y) == line;
    QVERIFY2(linePixels > 20, qPrintable(QString::number(linePixels)));
}

// Ctrl+I, then Measure: the measurements run with the hourglass and "Stand
// by ..." and end with the standard text; the table holds the rows with
// their bars, and Copy as text gives the report's section.
void TestHistoryWindow::contextMeasuresInTheBusyFrame()
{
    QStringList during;
    ShellFixture f([&during](TForm1Services& services) {
        services.insight = FakeInsightKernels();
        const auto allCore = services.insight.allCoreCpu;
        services.insight.allCoreCpu = [&during, allCore] {
            during << (busy::HourglassShown() ? "hourglass" : "no hourglass");
            return allCore();
        };
    });
    QVERIFY(f.showAndActivate());
    press(f, "Ctrl+I");
    auto* window = f.form().findChild<ContextWindow*>("ContextWindow");
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(FindChild<QLabel>(*window, "StateLabel")->text(), ContextWindow::NotYetText);
    QVERIFY(!FindChild<QPushButton>(*window, "CopyButton")->isEnabled());
    FindChild<QPushButton>(*window, "MeasureButton")->click();
    QCOMPARE(during, QStringList{"hourglass"});
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), busy::StandardStatusText);

    auto* table = FindChild<QTableWidget>(*window, "ContextTable");
    QVERIFY(table->rowCount() > 8);
    QCOMPARE(table->item(0, 0)->text(), "CPU, 2 threads");
    QCOMPARE(table->item(0, 2)->data(SmallBars::BarRole).toDouble(), 1.0);
    QVERIFY(FindChild<QLabel>(*window, "StateLabel")->text().contains("run the memory page first"));
    FindChild<QPushButton>(*window, "CopyButton")->click();
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY(copied.startsWith("= In context (not part of the log) ====="));
    QVERIFY(copied.contains("Clock     : all cores 2850 MHz (counter 3000 MHz)"));
}
