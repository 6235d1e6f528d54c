// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashChild.h"

#include "database/ComparisonDatabase.h"

#include <QCoreApplication>

#include <cstdio>

EditorLists CrashLists(int set)
{
    EditorLists lists;
    for (int row = 0; row < 400; ++row) {
        const QString name = QStringLiteral("Machine %1 of set %2").arg(row).arg(set);
        const QString value = QString::number(row * 10 + set);
        lists[lkProcessor].append({name, value, value});
        lists[lkMemory].append({name, value, {}});
        lists[lkVideo].append({name, value, {}});
        lists[lkHdd].append({name, value, {}});
    }
    return lists;
}

int RunCrashChild(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ComparisonDatabase database(QString::fromLocal8Bit(argv[2]));
    const EditorLists sets[2] = {CrashLists(0), CrashLists(1)};
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned turn = 1;; ++turn)
        WriteEditorLists(database, sets[turn % 2]);
}
