// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "editor/EditorRows.h"

#include <QLocale>
#include <QTest>

void TestEditorRows::descriptionOrder_data()
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

void TestEditorRows::descriptionOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, descriptions);
    QFETCH(QStringList, sorted);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    EditorList rows;
    for (qsizetype i = 0; i < descriptions.size(); ++i)
        rows.append({descriptions[i], QString::number(i), QString()});
    SortByDescription(rows);
    QLocale::setDefault(previous);
    QStringList result;
    for (const EditorRow& row : rows)
        result.append(row.description);
    QCOMPARE(result, sorted);
    // Equal descriptions keep their order.
    for (qsizetype i = 1; i < rows.size(); ++i)
        if (rows[i].description == rows[i - 1].description)
            QVERIFY(rows[i - 1].first.toInt() < rows[i].first.toInt());
}
