// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "EditorFixture.h"
#include "FindChild.h"
#include "editor/EditorModel.h"

#include <QLocale>
#include <QPushButton>
#include <QTest>

void TestEditorModel::descriptionOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("user's locale, not code points")
        << "en_US" << QStringList{"cherry", "Banana", "apple"}
        << QStringList{"apple", "Banana", "cherry"};
    QTest::newRow("case-sensitive: both kept, lower case first")
        << "en_US" << QStringList{"Athlon", "athlon", "Athlon"}
        << QStringList{"athlon", "Athlon", "Athlon"};
    QTest::newRow("Russian: Cyrillic before Latin")
        << "ru_RU" << QStringList{"Ваши 64 Mb", "Celeron", "ваши"}
        << QStringList{"ваши", "Ваши 64 Mb", "Celeron"};
    QTest::newRow("English: Latin before Cyrillic")
        << "en_US" << QStringList{"Ваши 64 Mb", "Celeron", "ваши"}
        << QStringList{"Celeron", "ваши", "Ваши 64 Mb"};
    // No collation rules there: sorted as English, not by code points.
    for (const char* locale : {"C", "POSIX"})
        QTest::addRow("%s: as English", locale)
            << locale << QStringList{"Zeta", "athlon", "Athlon", "beta"}
            << QStringList{"athlon", "Athlon", "beta", "Zeta"};
    QTest::newRow("numbers as text")
        << "en_US" << QStringList{"P 10", "P 9", "P 1"} << QStringList{"P 1", "P 10", "P 9"};
}

void TestEditorModel::descriptionOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, descriptions);
    QFETCH(QStringList, sorted);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    EditorList rows;
    for (qsizetype i = 0; i < descriptions.size(); ++i)
        rows.append({descriptions[i], QString::number(i), QString()});
    EditorListModel model(lkProcessor);
    model.setRows(rows);
    DescriptionOrderModel shown(&model);
    shown.sortByDescription();
    QLocale::setDefault(previous);
    rows = shown.shownRows();
    QStringList result;
    for (const EditorRow& row : rows)
        result.append(row.description);
    QCOMPARE(result, sorted);
    // Equal descriptions keep their order.
    for (qsizetype i = 1; i < rows.size(); ++i)
        if (rows[i].description == rows[i - 1].description)
            QVERIFY(rows[i - 1].first.toInt() < rows[i].first.toInt());
}

namespace {

// One step of the user's on the Processor page: "header <column>",
// "select <row>", "edit <row> <description>", "add-cancel", "delete".
void Act(EditorFixture& f, const QString& action)
{
    const QStringList words = action.split(u' ');
    const int number = words.value(1).toInt();
    TListView* list = f.list(lkProcessor);
    if (words[0] == "header") {
        f.form3.ListView1ColumnClick(number);
    } else if (words[0] == "select") {
        f.pressOn(lkProcessor, number, Qt::LeftButton);
    } else if (words[0] == "edit") {
        f.answers.append(Accept(words[2]));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualRect(list->model()->index(number, 0)).center());
    } else if (words[0] == "add-cancel") {
        f.add(lkProcessor, Cancel());
    } else if (words[0] == "delete") {
        f.form3.N2Click();
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
}

} // namespace

void TestEditorModel::shownOrderIsWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("shown"); // description=CPU,FPU
    QTest::addColumn<QByteArray>("written");

    const QByteArray fruit = "[Processor]\ncherry=1,9\nBanana=3,1\napple=2,5\n";
    QTest::newRow("sorted once, then a row changed: it stays, written as shown")
        << fruit << QStringList{"header 1", "edit 0 zebra"}
        << QStringList{"zebra=2,5", "Banana=3,1", "cherry=1,9"}
        << QByteArray("[Processor]\nzebra=2,5\nBanana=3,1\ncherry=1,9\n");
    // Rows of equal descriptions are each written, none is lost.
    QTest::newRow("kept sorted: a changed row moves, equal ones keep their shown order")
        << QByteArray("[Processor]\nA=1,1\nB=2,2\nC=3,3\nD=4,4\n")
        << QStringList{"header 0", "edit 3 C", "edit 0 C"}
        << QStringList{"B=2,2", "C=1,1", "C=3,3", "C=4,4"}
        << QByteArray("[Processor]\nB=2,2\nC=1,1\nC=3,3\nC=4,4\n");
    QTest::newRow("kept sorted: delete takes the selected row")
        << fruit << QStringList{"header 0", "select 0", "delete"}
        << QStringList{"Banana=3,1", "cherry=1,9"}
        << QByteArray("[Processor]\nBanana=3,1\ncherry=1,9\n");
    QTest::newRow("the selection follows its row through a sort")
        << fruit << QStringList{"select 0", "header 2", "delete"}
        << QStringList{"apple=2,5", "Banana=3,1"}
        << QByteArray("[Processor]\napple=2,5\nBanana=3,1\n");
    QTest::newRow("kept sorted: a cancelled new row goes, sorted first")
        << fruit << QStringList{"header 0", "add-cancel"}
        << QStringList{"apple=2,5", "Banana=3,1", "cherry=1,9"}
        << QByteArray("[Processor]\napple=2,5\nBanana=3,1\ncherry=1,9\n");
}

void TestEditorModel::shownOrderIsWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, shown);
    QFETCH(QByteArray, written);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EditorFixture f(file);
    QVERIFY(f.open());
    for (const QString& action : actions)
        Act(f, action);
    QStringList texts;
    for (const EditorRow& row : f.rows(lkProcessor))
        texts.append(row.description + '=' + row.first + ',' + row.second);
    QCOMPARE(texts, shown);
    QTest::mouseClick(FindChild<QPushButton>(f.form3, "Button1"), Qt::LeftButton);
    QLocale::setDefault(previous);
    QCOMPARE(f.errors, QStringList());
    QCOMPARE(f.fileBytes(), written);
}
