// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "EditorFixture.h"
#include "FindChild.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const QByteArray kFile = "[DATA]\r\nPIIFreq=400\r\n"
                         "[Processor]\r\nCeleron 300=300,250\r\nAthlon 600=600\r\n"
                         "[Memory]\r\nVIA=180\r\nSiS=150\r\n"
                         "[Video]\r\nRiva TNT=95\r\n"
                         "[Drive]\r\nDrive C=9000\r\nDrive D=8000\r\n";

MachineValues SampleMachine()
{
    return {"Test CPU, 1000 MHz", "512 Mb (used 10%)", "Test display", "Drive /home",
            {2, 700, 650},        {1, 1800, 0},        {1, 95, 0},     {1, 9500, 0}};
}

QMenu* PopupMenu(EditorFixture& f)
{
    return FindChild<QMenu>(f.form3, "PopupMenu1");
}

void CloseMenu(EditorFixture& f)
{
    PopupMenu(f)->close();
}

} // namespace

void TestEditorWindow::newRowInDialog_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("bars");
    QTest::addColumn<QStringList>("shown"); // description, first, second, label 2, label 3

    QTest::newRow("Processor") << 0 << true
                               << QStringList{"Test CPU, 1000 MHz", "700", "650", "CPU", "FPU"};
    QTest::newRow("Processor, chart never drawn")
        << 0 << false << QStringList{"Test CPU, 1000 MHz", "0", "0", "CPU", "FPU"};
    QTest::newRow("Memory") << 1 << true << QStringList{"Ваши 512 Mb", "1800", "", "Mb/s", ""};
    QTest::newRow("Memory, no bars")
        << 1 << false << QStringList{"Ваши 512 Mb", "0", "", "Mb/s", ""};
    QTest::newRow("Video") << 2 << true << QStringList{"Test display", "95", "", "Mb/s", ""};
    QTest::newRow("HDD") << 3 << true << QStringList{"Drive /home", "9500", "", "Kb/s", ""};
    QTest::newRow("HDD, no bars") << 3 << false << QStringList{"Drive /home", "0", "", "Kb/s", ""};
}

void TestEditorWindow::newRowInDialog()
{
    QFETCH(int, kind);
    QFETCH(bool, bars);
    QFETCH(QStringList, shown);
    EditorFixture f(kFile);
    f.machine = SampleMachine();
    if (!bars)
        f.machine.processorChart.count = f.machine.memoryChart.count = f.machine.driveChart.count =
            0;
    QVERIFY(f.open());
    const EditorList before = f.rows(ListKind(kind));

    f.add(ListKind(kind), Cancel());
    QCOMPARE(f.seen.size(), 1);
    const DialogSeen& seen = f.seen[0];
    QCOMPARE((QStringList{seen.description, seen.first, seen.second, seen.label2, seen.label3}),
             shown);
    QCOMPARE(seen.thirdEnabled, kind == lkProcessor);
    // Cancelled: the new row is gone again.
    QCOMPARE(f.rows(ListKind(kind)), before);
}

void TestEditorWindow::addOkThenCancelLeavesFile()
{
    EditorFixture f(kFile);
    f.machine = SampleMachine();
    QVERIFY(f.open());
    f.add(lkVideo, Accept("My video", "120"));
    QCOMPARE(f.descriptions(lkVideo), (QStringList{"Riva TNT", "My video"}));
    QTest::mouseClick(FindChild<QPushButton>(f.form3, "Button2"), Qt::LeftButton);
    QVERIFY(!f.form3.isVisible());
    QCOMPARE(f.form3.result(), int(QDialog::Rejected));
    QCOMPARE(f.fileBytes(), kFile);
    QVERIFY(f.open());
    QCOMPARE(f.descriptions(lkVideo), QStringList{"Riva TNT"});
}

void TestEditorWindow::changeRow_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<EditorRow>("after");

    const EditorRow typed{" Duron ", "9x", " 1 "};
    QTest::newRow("Processor, double click, cancel")
        << 0 << false << false << EditorRow{"Athlon 600", "600", "600"};
    QTest::newRow("Processor, menu, cancel")
        << 0 << true << false << EditorRow{"Athlon 600", "600", "600"};
    QTest::newRow("Processor, double click, ok, texts as typed") << 0 << false << true << typed;
    QTest::newRow("Memory, menu, ok, second value untouched")
        << 1 << true << true << EditorRow{" Duron ", "9x", ""};
    QTest::newRow("HDD, double click, cancel")
        << 3 << false << false << EditorRow{"Drive D", "8000", ""};
}

void TestEditorWindow::changeRow()
{
    QFETCH(int, kind);
    QFETCH(bool, byMenu);
    QFETCH(bool, ok);
    QFETCH(EditorRow, after);
    EditorFixture f(kFile);
    QVERIFY(f.open());
    FindChild<QTabWidget>(f.form3, "PageControl1")->setCurrentIndex(kind);
    f.answers.append(ok ? Accept(" Duron ", "9x", " 1 ") : Cancel());
    TListView* list = f.list(ListKind(kind));
    const QPoint row1 = list->visualRect(list->model()->index(1, 0)).center();
    if (byMenu) {
        f.pressOn(ListKind(kind), 1, Qt::RightButton);
        QMenu* menu = PopupMenu(f);
        QVERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(FindChild<QAction>(f.form3, "N3")).center());
    } else {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row1);
    }
    QCOMPARE(f.seen.size(), 1);
    QCOMPARE(f.rows(ListKind(kind)).at(1), after);
}

void TestEditorWindow::deleteRow_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row"); // -1: pressed on no row
    QTest::addColumn<QStringList>("left");

    QTest::newRow("Processor, second row") << 0 << 1 << QStringList{"Celeron 300"};
    QTest::newRow("Memory, first row") << 1 << 0 << QStringList{"SiS"};
    QTest::newRow("HDD, no selection") << 3 << -1 << QStringList{"Drive C", "Drive D"};
}

void TestEditorWindow::deleteRow()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QStringList, left);
    EditorFixture f(kFile);
    QVERIFY(f.open());
    FindChild<QTabWidget>(f.form3, "PageControl1")->setCurrentIndex(kind);
    f.pressOn(ListKind(kind), 0, Qt::LeftButton); // a selection the press below may clear
    f.pressOn(ListKind(kind), row, Qt::LeftButton);
    f.form3.N2Click();
    QCOMPARE(f.descriptions(ListKind(kind)), left);
    QVERIFY(f.seen.isEmpty());
}

void TestEditorWindow::popupItems_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("selected");

    QTest::newRow("right on a row") << 0 << Qt::RightButton << true;
    QTest::newRow("right on no row") << -1 << Qt::RightButton << false;
    QTest::newRow("left on a row") << 1 << Qt::LeftButton << true;
    QTest::newRow("middle on no row") << -1 << Qt::MiddleButton << false;
}

void TestEditorWindow::popupItems()
{
    QFETCH(int, row);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, selected);
    EditorFixture f(kFile);
    QVERIFY(f.open());
    FindChild<QTabWidget>(f.form3, "PageControl1")->setCurrentIndex(lkMemory);
    // The opposite state first, so that the press has something to change.
    f.pressOn(lkMemory, selected ? -1 : 0, Qt::RightButton);
    CloseMenu(f);
    f.pressOn(lkMemory, row, button); // the press alone: no release
    QCOMPARE(PopupMenu(f)->isVisible(), button == Qt::RightButton);
    QVERIFY(FindChild<QAction>(f.form3, "N1")->isEnabled());
    QCOMPARE(FindChild<QAction>(f.form3, "N2")->isEnabled(), selected);
    QCOMPARE(FindChild<QAction>(f.form3, "N3")->isEnabled(), selected);
    QCOMPARE(f.list(lkMemory)->selectedRow(), row);
    CloseMenu(f);
}

void TestEditorWindow::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("afterAdd");
    QTest::addColumn<QStringList>("reopened");

    QTest::newRow("CPU: once") << 1 << QStringList{"apple", "Banana", "cherry", "blueberry"}
                               << QStringList{"cherry", "Banana", "apple"};
    QTest::newRow("FPU: once") << 2 << QStringList{"apple", "Banana", "cherry", "blueberry"}
                               << QStringList{"cherry", "Banana", "apple"};
    QTest::newRow("Description: kept sorted")
        << 0 << QStringList{"apple", "Banana", "blueberry", "cherry"}
        << QStringList{"apple", "Banana", "cherry"};
}

void TestEditorWindow::sorting()
{
    QFETCH(int, column);
    QFETCH(QStringList, afterAdd);
    QFETCH(QStringList, reopened);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EditorFixture f("[Processor]\ncherry=1,9\nBanana=3,1\napple=2,5\n");
    QVERIFY(f.open());
    QHeaderView* header = FindChild<TListView>(f.form3, "ListView1")->horizontalHeader();
    header->moveSection(2, 0); // dragged columns: the click still names its column
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(f.descriptions(lkProcessor), (QStringList{"apple", "Banana", "cherry"}));
    f.add(lkProcessor, Accept("blueberry"));
    QCOMPARE(f.descriptions(lkProcessor), afterAdd);
    f.form3.hide();
    QVERIFY(f.open());
    QCOMPARE(f.descriptions(lkProcessor), reopened);
    QLocale::setDefault(previous);
}

void TestEditorWindow::escapeClosesNeither()
{
    EditorFixture f(kFile);
    QVERIFY(f.open());
    QTest::keyClick(FindChild<TListView>(f.form3, "ListView1"), Qt::Key_Escape);
    QVERIFY(f.form3.isVisible());

    f.form4.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form4));
    QTest::keyClick(FindChild<QLineEdit>(f.form4, "Edit2"), Qt::Key_Escape);
    QVERIFY(f.form4.isVisible());
    QTest::keyClick(FindChild<QLineEdit>(f.form4, "Edit2"), Qt::Key_Return);
    QVERIFY(!f.form4.isVisible());
    QCOMPARE(f.form4.result(), int(QDialog::Accepted));
    QCOMPARE(f.fileBytes(), kFile);
}

void TestEditorWindow::keptBetweenOpenings()
{
    EditorFixture f(kFile);
    QVERIFY(f.open());
    const QPoint opened = f.form3.pos();
    FindChild<QTabWidget>(f.form3, "PageControl1")->setCurrentIndex(lkHdd);
    f.form3.setGeometry(QRect(120, 80, 400, 300));
    // The Edit dialog stays where the opening put it.
    f.add(lkHdd, Accept("Drive E", "1"));
    QCOMPARE(f.seen.last().position, opened + QPoint(100, 100));
    QTest::mouseClick(FindChild<QPushButton>(f.form3, "Button2"), Qt::LeftButton);

    WriteBytes(f.path, "[Drive]\nDrive F=7\n");
    QVERIFY(f.open());
    QCOMPARE(FindChild<QTabWidget>(f.form3, "PageControl1")->currentIndex(), int(lkHdd));
    QCOMPARE(f.form3.geometry(), QRect(120, 80, 400, 300));
    QCOMPARE(f.rows(lkHdd), (EditorList{{"Drive F", "7", ""}}));
    QVERIFY(f.rows(lkProcessor).isEmpty());
    f.add(lkHdd, Cancel());
    QCOMPARE(f.seen.last().position, f.form3.pos() + QPoint(100, 100));
}

void TestEditorWindow::resizeFollowsEdges()
{
    EditorFixture f;
    QVERIFY(f.open());
    const auto* pageControl = FindChild<QTabWidget>(f.form3, "PageControl1");
    const auto* okButton = FindChild<QPushButton>(f.form3, "Button1");
    const auto* cancelButton = FindChild<QPushButton>(f.form3, "Button2");
    const QSize before = f.form3.size();
    const QRect pages = pageControl->geometry();
    const QPoint ok = okButton->pos();
    const QPoint cancel = cancelButton->pos();
    f.form3.resize(before + QSize(150, 90));
    QCOMPARE(pageControl->geometry(), pages.adjusted(0, 0, 150, 90));
    QCOMPARE(okButton->pos(), ok + QPoint(150, 90));
    QCOMPARE(cancelButton->pos(), cancel + QPoint(150, 90));
    f.form3.resize(10, 10);
    QCOMPARE(f.form3.size(), f.form3.minimumSize());
    QVERIFY(f.form3.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!f.form3.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.form4.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!f.form4.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

void TestEditorWindow::editDialogFocus()
{
    TForm4 dialog;
    QWidget other;
    other.show();
    for (int opening = 0; opening < 2; ++opening) {
        FindChild<QLineEdit>(dialog, "Edit3")->setFocus();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.focusWidget(), FindChild<QLineEdit>(dialog, "Edit1"));
        // Activated again while shown: the focus goes back to the description.
        FindChild<QLineEdit>(dialog, "Edit3")->setFocus();
        QApplication::setActiveWindow(&other);
        QApplication::setActiveWindow(&dialog);
        QCOMPARE(dialog.focusWidget(), FindChild<QLineEdit>(dialog, "Edit1"));
        dialog.hide();
    }
}
