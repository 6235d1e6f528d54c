// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window's content lands, in window client coordinates, and
// how its frames look. The expected rectangles are built from the layout's
// own figures (positions relative to parents, bevels, borders), so a margin
// that creeps in anywhere along the chain shows up here.
#include "tst_classes.h"

#include "Fixture.h"
#include "PaintCounter.h"
#include "controls/DialogFlags.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

namespace {

// Panel1 at 0, 34 with a single border: its client area starts 1 px in.
constexpr QPoint Panel1Client(0 + 1, 34 + 1);
// Panel2 at 184, 8 of Panel1's client area, 400 x 413.
constexpr QRect Panel2Rect(Panel1Client.x() + 184, Panel1Client.y() + 8, 400, 413);
// Raised outer bevel 1, border width 4, lowered inner bevel 1.
constexpr int Panel2Frame = 1 + 4 + 1;
// PageControl1 fills Panel2's client area: 388 x 401.
constexpr QRect PageControl1Rect(Panel2Rect.x() + Panel2Frame, Panel2Rect.y() + Panel2Frame, 388,
                                 401);
// A page control's sheets: 380 x 370 inside 388 x 401, 4 px in from the left,
// right and bottom edges, so the row of tabs takes the top 27.
constexpr int SheetLeft = 4;
constexpr int SheetTop = 401 - 4 - 370;
constexpr QRect OuterSheet(PageControl1Rect.x() + SheetLeft, PageControl1Rect.y() + SheetTop, 380,
                           370);
// PageControl2 fills its sheet; its own sheets are 372 x 339.
constexpr QRect InnerSheet(OuterSheet.x() + SheetLeft, OuterSheet.y() + SheetTop, 380 - 8,
                           370 - 31);

// A chart fills its panel (at 0, 0 of the sheet, 372 wide, single border).
QRect chartIn(int panelHeight)
{
    return QRect(InnerSheet.x() + 1, InnerSheet.y() + 1, 372 - 2, panelHeight - 2);
}

bool isProgramFont(const QFont& font)
{
    const QFontInfo info(font);
    return info.family() == QStringLiteral("Tahoma") && info.pixelSize() == 11 && !info.bold();
}

QRect inClient(const TForm1& form, const QWidget* widget)
{
    return QRect(
        widget->mapTo(form.findChild<QWidget*>(QStringLiteral("ClientArea")), QPoint(0, 0)),
        widget->size());
}

// Delivers what is queued, and what that queues in turn: a paint's update
// request, then the activation the paint would queue. Three rounds leave
// nothing of that chain waiting, however slow the machine.
void deliverPendingEvents()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace

void TestLook::contentRectangles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outer"); // pages shown
    QTest::addColumn<int>("inner");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Panel2") << "Panel2" << 0 << 0 << Panel2Rect;
    QTest::newRow("PageControl1") << "PageControl1" << 0 << 0 << PageControl1Rect;
    QTest::newRow("overview panel") << "Panel3" << 0 << 0 << OuterSheet;
    QTest::newRow("PageControl2") << "PageControl2" << 1 << 0 << OuterSheet;
    QTest::newRow("processor chart") << "MyChart1" << 1 << 0 << chartIn(302);
    QTest::newRow("memory chart") << "MyChart2" << 1 << 1 << chartIn(299);
    QTest::newRow("video chart") << "MyChart4" << 1 << 2 << chartIn(302);
    QTest::newRow("disk chart") << "MyChart3" << 1 << 3 << chartIn(310);
    QTest::newRow("log") << "Memo1" << 1 << 4 << QRect(InnerSheet.topLeft(), QSize(372, 309));
}

void TestLook::contentRectangles()
{
    QFETCH(QString, name);
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(QRect, rect);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.widget<QTabWidget>("PageControl1")->setCurrentIndex(outer);
    f.widget<QTabWidget>("PageControl2")->setCurrentIndex(inner);
    const QWidget* widget = f.form().findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(inClient(f.form(), widget), rect);
    // Nothing on the way up clips it.
    for (const QWidget* parent = widget->parentWidget(); parent != f.widget<QWidget>("ClientArea");
         parent = parent->parentWidget())
        QVERIFY2(inClient(f.form(), parent).contains(rect), qPrintable(parent->objectName()));
}

void TestLook::panel2Bevels()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QFrame* panel = f.widget<QFrame>("Panel2");
    const QImage image = panel->grab().toImage();
    QCOMPARE(image.size(), QSize(400, 413));
    const QPalette& palette = panel->palette();
    const QRgb light = palette.color(QPalette::Light).rgb();
    const QRgb dark = palette.color(QPalette::Dark).rgb();
    QVERIFY(light != dark);
    const auto at = [&image](int x, int y) { return image.pixel(x, y); };
    // Raised outer bevel: light top and left, dark bottom and right.
    QCOMPARE(at(200, 0), light);
    QCOMPARE(at(0, 200), light);
    QCOMPARE(at(200, 412), dark);
    QCOMPARE(at(399, 200), dark);
    // Four pixels of the panel's face between the bevels.
    for (int d = 1; d <= 4; ++d)
        QCOMPARE(at(200, d), palette.color(QPalette::Window).rgb());
    // Lowered inner bevel: dark top and left, light bottom and right.
    QCOMPARE(at(200, 5), dark);
    QCOMPARE(at(5, 200), dark);
    QCOMPARE(at(200, 407), light);
    QCOMPARE(at(394, 200), light);
}

void TestLook::menusAndTipsUseProgramFont_data()
{
    QTest::addColumn<QString>("menu"); // empty: the tool tip of a tool button
    QTest::newRow("File") << "N1";
    QTest::newRow("Benchmarks") << "N7";
    QTest::newRow("Help") << "N4";
    QTest::newRow("tool tip") << "";
}

void TestLook::menusAndTipsUseProgramFont()
{
    QFETCH(QString, menu);
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        QSKIP("fonts-wine is not installed");
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    QVERIFY(isProgramFont(f.widget<QMenuBar>("MainMenu1")->font()));
    if (!menu.isEmpty()) {
        auto* dropDown = f.form().findChild<QMenu*>(menu);
        QVERIFY(dropDown != nullptr);
        dropDown->popup(f.form().geometry().center());
        QVERIFY(QTest::qWaitForWindowExposed(dropDown));
        QVERIFY(isProgramFont(dropDown->font()));
        dropDown->close();
        return;
    }
    // The tool tip the tool bar shows when the mouse rests on a button.
    QToolButton* button = f.widget<QToolButton>("ToolButton5");
    const QPoint inside(10, 10);
    QHelpEvent event(QEvent::ToolTip, inside, button->mapToGlobal(inside));
    QApplication::sendEvent(button, &event);
    QWidget* tip = nullptr;
    QTRY_VERIFY((tip = [] {
                    for (QWidget* window : QApplication::topLevelWidgets())
                        if (window->inherits("QTipLabel") && window->isVisible())
                            return window;
                    return static_cast<QWidget*>(nullptr);
                }()) != nullptr);
    QCOMPARE(QToolTip::text(), QStringLiteral("Processor benchmark"));
    QVERIFY(isProgramFont(tip->font()));
    QToolTip::hideText();
}

void TestLook::aboutBoxIsDialogOfMainWindow()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    TForm5* about = f.forms.Form5.get();
    // Caption, system menu and close box only.
    QCOMPARE(about->windowFlags(), DialogTitleBar);
    QVERIFY(!about->windowFlags().testAnyFlags(Qt::WindowMinimizeButtonHint |
                                               Qt::WindowMaximizeButtonHint));
    // Transient for the main window, so a window manager minimises both or neither.
    bool transient = false;
    Dialogs::SetNextModalAnswer([about, &f, &transient](QDialog* dialog) {
        dialog->open();
        transient =
            dialog == about && about->windowHandle()->transientParent() == f.form().windowHandle();
        dialog->close();
        return dialog->result();
    });
    f.widget<QAction>("N5")->trigger();
    QVERIFY(transient);
    // Still centred on the screen, not on its owner.
    const QPoint offset =
        about->geometry().center() - about->screen()->availableGeometry().center();
    QVERIFY(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1);
}

void TestLook::activationWaitsForFirstFrame()
{
    ShellFixture f({}, true);
    TForm1& form = f.form();
    PaintCounter splash(f.widget<QFrame>("Panel4"));
    int splashPaintsAtStart = -1;
    bool exposedAtStart = false;
    f.beforeGather = [&] {
        splashPaintsAtStart = splash.count;
        exposedAtStart = form.windowHandle()->isExposed();
    };
    // Shown but not on any screen: nothing is painted, so nothing starts.
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    deliverPendingEvents();
    QCOMPARE(f.gatherCount, 0);
    form.hide();
    form.setAttribute(Qt::WA_DontShowOnScreen, false);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(f.gatherCount, 1);
    QVERIFY(exposedAtStart);
    QVERIFY(splashPaintsAtStart >= 1);
    QVERIFY(f.splashVisibleWhileGathering);
    QVERIFY(f.widget<QFrame>("Panel1")->isVisible());
}

void TestLook::reactivationWaitsForRepaint()
{
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    TForm1& form = f.form();
    QTabBar* tabs = f.widget<QTabWidget>("PageControl1")->findChild<QTabBar*>();
    QVERIFY(tabs != nullptr);
    PaintCounter menu(f.widget<QMenuBar>("MainMenu1")),
        toolBar(f.widget<QToolButton>("ToolButton1")), tabBar(tabs);
    QList<int> paintsAtStart;
    f.beforeGather = [&] { paintsAtStart = {menu.count, toolBar.count, tabBar.count}; };
    TForm2& surface = *f.forms.Form2;
    surface.setGeometry(form.geometry());
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    deliverPendingEvents(); // the main window's own paints are done
    const QList<int> paintsBefore{menu.count, toolBar.count, tabBar.count};
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_COMPARE(f.gatherCount, 2);
    for (int i = 0; i < paintsBefore.size(); ++i)
        QVERIFY2(paintsAtStart[i] > paintsBefore[i], qPrintable(QString::number(i)));

    // Not on the screen: nothing is painted, and the activation does not wait.
    form.hide();
    surface.show();
    surface.close();
    QTRY_COMPARE(f.gatherCount, 3);
}

// The "ОS" label starts with a Cyrillic letter the log's bitmap face lacks.
void TestLook::logLinesHaveOneHeight()
{
    ShellFixture f;
    QPlainTextEdit* log = f.widget<QPlainTextEdit>("Memo1");
    QVERIFY(!QRawFont::fromFont(log->font()).supportsCharacter(U'\u041E'));
    const QStringList lines{QStringLiteral("Processor : 350 MHz"),
                            QStringLiteral("\u041ES        : Debian GNU/Linux 12"),
                            QStringLiteral("- All tests completed -------------------"),
                            QStringLiteral("Memory    : 512 Mb")};
    log->clear();
    for (const QString& line : lines)
        log->appendPlainText(line);
    QCOMPARE(log->toPlainText(), lines.join(QLatin1Char('\n')));

    // The lines' own layouts: the document adds its margin to the last block.
    const qreal height = log->document()->begin().layout()->boundingRect().height();
    QVERIFY(height > 0);
    for (QTextBlock block = log->document()->begin(); block.isValid(); block = block.next())
        QVERIFY2(block.layout()->boundingRect().height() == height, qPrintable(block.text()));
}
