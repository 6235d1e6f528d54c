// SPDX-License-Identifier: GPL-3.0-or-later
// Times each database operation on files of growing size, to show that the
// cost of one call grows in proportion to the file (not run by CTest).
//   bench_database [largest key count]

#include "database/ComparisonDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

double Milliseconds(const std::function<void()>& operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    return timer.nsecsElapsed() / 1e6;
}

void WriteFile(const QString& path, int keys)
{
    QByteArray text("[DATA]\r\nPIIMultCPU=1000\r\nPIIFreq=400\r\n[Processor]\r\n");
    for (int i = 0; i < keys; ++i)
        text += "Reference machine " + QByteArray::number(i) + "=400,400\r\n";
    text += "[Memory]\r\nReference machine A=180\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
}

DatabaseLists Rows(int keys)
{
    DatabaseLists lists;
    for (int i = 0; i < keys; ++i) {
        const QString name = QStringLiteral("Reference machine %1").arg(keys - i);
        lists.processor.append({name, QStringLiteral("300,250")});
        lists.memory.append({name, QStringLiteral("180")});
    }
    return lists;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int largest = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base.ini"));
    std::printf("%9s %10s %12s %12s %12s %14s\n", "keys", "bytes", "ListKeys ms", "ReadText ms",
                "WriteText ms", "ReplaceLists ms");
    for (int keys = 1000; keys <= largest; keys *= 10) {
        WriteFile(path, keys);
        ComparisonDatabase database(path);
        const qint64 bytes = QFile(path).size();
        const double list = Milliseconds([&] { database.ListKeys("Processor"); });
        const double read = Milliseconds([&] { database.ReadText("Memory", "x", "0"); });
        const double write = Milliseconds([&] { database.WriteText("Memory", "x", "1"); });
        const DatabaseLists lists = Rows(keys);
        const double replace = Milliseconds([&] { database.ReplaceLists(lists); });
        std::printf("%9d %10lld %12.1f %12.1f %12.1f %14.1f\n", keys, static_cast<long long>(bytes),
                    list, read, write, replace);
    }
    return 0;
}
