// SPDX-License-Identifier: GPL-3.0-or-later
// Times opening the Database window and its OK against the number of rows in
// each of the four lists (not run by CTest):
//   QT_QPA_PLATFORM=offscreen bench_editor [repetitions]

#include "Summary.h"
#include "database/ComparisonDatabase.h"
#include "editor/EditorRows.h"
#include "editor/Unit3.h"
#include "editor/Unit4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Milliseconds(const std::function<void()>& operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    return double(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values)
{
    return summarise(std::move(values)).median;
}

EditorLists Rows(int count)
{
    EditorLists lists;
    for (int row = 0; row < count; ++row) {
        // Descriptions in no particular order, as a grown file holds them.
        const QString name = QStringLiteral("Reference machine %1").arg((row * 7919) % count);
        lists[lkProcessor].append({name, QString::number(row), QString::number(row + 1)});
        lists[lkMemory].append({name, QString::number(row), {}});
        lists[lkVideo].append({name, QString::number(row), {}});
        lists[lkHdd].append({name, QString::number(row), {}});
    }
    return lists;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 9;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base.ini"));
    ComparisonDatabase database(path);
    TForm3Services services;
    services.database = &database;
    TForm3 form3(services);
    TForm4 form4;
    form3.setEditDialog(&form4);
    auto* okButton = form3.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* cancelButton = form3.findChild<QPushButton*>(QStringLiteral("Button2"));

    std::printf("%7s %9s %10s %10s %12s %10s %14s\n", "rows", "bytes", "open ms", "sorted ms",
                "OK ms", "write ms", "write us/row");
    for (int rows : {250, 500, 1000, 2000, 4000}) {
        const EditorLists lists = Rows(rows);
        WriteEditorLists(database, lists);
        std::vector<double> open, sorted, ok, write;
        for (int i = 0; i < repetitions; ++i) {
            open.push_back(Milliseconds([&] {
                form3.show();
                QApplication::processEvents();
            }));
            ok.push_back(Milliseconds([&] { okButton->click(); }));
            write.push_back(Milliseconds([&] { WriteEditorLists(database, lists); }));
        }
        form3.ListView1ColumnClick(0); // keeps the Processor list sorted from here on
        for (int i = 0; i < repetitions; ++i) {
            sorted.push_back(Milliseconds([&] {
                form3.show();
                QApplication::processEvents();
            }));
            cancelButton->click();
        }
        form3.ListView1ColumnClick(1);
        std::printf("%7d %9lld %10.1f %10.1f %12.1f %10.1f %14.2f\n", rows, QFileInfo(path).size(),
                    Median(open), Median(sorted), Median(ok), Median(write),
                    Median(write) * 1000.0 / (4.0 * rows));
    }
    return 0;
}
