// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Memory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

void MemoryTest::meminfo_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<quint32>("load");
    QTest::newRow("half used") << QByteArray(
                                      "MemTotal: 1000 kB\nMemFree: 100 kB\nMemAvailable: 500 kB\n")
                               << quint64(1024000) << 50U;
    QTest::newRow("whole percent truncated")
        << QByteArray("MemTotal:       16303856 kB\nMemAvailable:   12227893 kB\n")
        << quint64(16303856) * 1024 << 24U;
    QTest::newRow("more than 4 GiB")
        << QByteArray("MemTotal: 67108864 kB\nMemAvailable: 67108864 kB\n") << quint64(68719476736)
        << 0U;
    QTest::newRow("old kernel without MemAvailable")
        << QByteArray("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n")
        << quint64(1024000) << 60U;
    QTest::newRow("available above total")
        << QByteArray("MemTotal: 1000 kB\nMemAvailable: 2000 kB\n") << quint64(1024000) << 0U;
    QTest::newRow("empty file") << QByteArray() << quint64(0) << 0U;
    // What cannot be a size counts as missing, never as a wrapped huge one.
    QTest::newRow("negative total")
        << QByteArray("MemTotal: -1 kB\nMemAvailable: 500 kB\n") << quint64(0) << 0U;
    QTest::newRow("negative available, the older sum instead")
        << QByteArray("MemTotal: 1000 kB\nMemAvailable: -5 kB\nMemFree: 100 kB\n"
                      "Buffers: 50 kB\nCached: 250 kB\n")
        << quint64(1024000) << 60U;
    QTest::newRow("one kB past 2^64 bytes, which would wrap to 1 kB")
        << QByteArray("MemTotal: 18014398509481985 kB\n") << quint64(0) << 0U;
    QTest::newRow("beyond 64 bits")
        << QByteArray("MemTotal: 99999999999999999999 kB\n") << quint64(0) << 0U;
    QTest::newRow("not a whole number") << QByteArray("MemTotal: 12x kB\n") << quint64(0) << 0U;
    QTest::newRow("unknown unit") << QByteArray("MemTotal: 12 MB\n") << quint64(0) << 0U;
    QTest::newRow("without unit, bytes")
        << QByteArray("MemTotal: 1048576\nMemAvailable: 0\n") << quint64(1048576) << 100U;
    QTest::newRow("largest size, all used")
        << QByteArray("MemTotal: 9007199254740991 kB\nMemAvailable: 0 kB\n")
        << quint64(9007199254740991) * 1024 << 100U;
    QTest::newRow("older sum at the largest sizes")
        << QByteArray("MemTotal: 9007199254740991 kB\nMemFree: 9007199254740991 kB\n"
                      "Buffers: 9007199254740991 kB\nCached: 9007199254740991 kB\n")
        << quint64(9007199254740991) * 1024 << 0U;
}

void MemoryTest::meminfo()
{
    QFETCH(QByteArray, text);
    QFETCH(quint64, total);
    QFETCH(quint32, load);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("proc")));
    QFile file(root.filePath(QStringLiteral("proc/meminfo")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    const auto status = platform::ReadMemoryStatus(root.path().toStdString());
    QCOMPARE(quint64(status.totalPhys), total);
    QCOMPARE(quint32(status.memoryLoad), load);
}

void MemoryTest::realTotalAgreesWithPageCount()
{
    const auto status = platform::ReadMemoryStatus("/");
    const quint64 pages = quint64(sysconf(_SC_PHYS_PAGES)) * quint64(sysconf(_SC_PAGESIZE));
    QCOMPARE(quint64(status.totalPhys), pages);
    QVERIFY(status.memoryLoad <= 100);
}
