// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "controls/MyChart.h"
#include "shell/EditorLink.h"

#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

void TestEditorLink::newRowsFromMainWindow()
{
    ShellFixture f({}, true);
    f.fields.memory = QStringLiteral("512 Mb (used 10%)");
    QFile file(f.directory.filePath(QStringLiteral("base.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=100\nPIIFreq=300\n");
    file.close();
    QVERIFY(f.showAndActivate());
    f.widget<QComboBox>("ComboBox1")->setCurrentIndex(1);

    // Before any chart was drawn every value is "0".
    const MachineValues before = f.form().session().machineValues();
    QCOMPARE(NewEditorRow(lkProcessor, before),
             (EditorRow{QStringLiteral("Test CPU, 1000 MHz"), "0", "0"}));
    QCOMPARE(NewEditorRow(lkMemory, before), (EditorRow{QStringLiteral("Ваши 512 Mb"), "0", ""}));
    QCOMPARE(NewEditorRow(lkVideo, before), (EditorRow{QStringLiteral("Test display"), "0", ""}));
    QCOMPARE(NewEditorRow(lkHdd, before),
             (EditorRow{QStringLiteral("Drive /home/a\\012b"), "0", ""}));

    // After a processor refresh: the scores its first two bars show.
    QTest::mouseClick(f.widget<QToolButton>("ToolButton5"), Qt::LeftButton);
    QCOMPARE(f.widget<TMyChart>("MyChart1")->Bars.Count, 2);
    QCOMPARE(NewEditorRow(lkProcessor, f.form().session().machineValues()),
             (EditorRow{QStringLiteral("Test CPU, 1000 MHz"), "450", "900"}));

    // The drive's figure once measured, and after a full memory test the
    // first bar the memory chart shows: the smallest block's read rate.
    f.form().session().runDrive();
    QCOMPARE(NewEditorRow(lkHdd, f.form().session().machineValues()).first,
             QStringLiteral("81920"));
    QTest::mouseClick(f.widget<QToolButton>("ToolButton6"), Qt::LeftButton);
    QTest::mouseClick(f.widget<QRadioButton>("RadioButton2"), Qt::LeftButton);
    QCOMPARE(NewEditorRow(lkMemory, f.form().session().machineValues()).first,
             QStringLiteral("1001"));
    QCOMPARE(EditorServices(f.form()).database, &f.form().database());
}
