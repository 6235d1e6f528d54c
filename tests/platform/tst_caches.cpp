// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Caches.h"
#include "platform/Threads.h"

#include <QTest>

#include <algorithm>

using platform::CacheLevel;

Q_DECLARE_METATYPE(std::vector<CacheLevel>)

void CachesTest::cacheSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint64>("bytes");
    QTest::newRow("kilobytes") << "32K" << quint64(32768);
    QTest::newRow("megabytes") << "1M" << quint64(1048576);
    QTest::newRow("large L3 in K") << "36608K" << quint64(36608ull * 1024);
    QTest::newRow("gigabytes") << "1G" << quint64(1073741824);
    QTest::newRow("plain bytes") << "512" << quint64(512);
    QTest::newRow("empty") << "" << quint64(0);
    QTest::newRow("unit alone") << "K" << quint64(0);
    QTest::newRow("not a number") << "12x" << quint64(0);
    QTest::newRow("negative") << "-32K" << quint64(0);
}

void CachesTest::cacheSize()
{
    QFETCH(QString, text);
    QFETCH(quint64, bytes);
    QCOMPARE(platform::ParseCacheSize(text.toStdString()), bytes);
}

void CachesTest::cpuList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("one") << "3" << 1;
    QTest::newRow("range") << "0-7" << 8;
    QTest::newRow("ranges and singles") << "0-3,8,10-11" << 7;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("reversed range") << "5-2" << 0;
    QTest::newRow("trailing comma") << "0-1," << 2;
    QTest::newRow("garbage") << "0-a" << 0;
}

void CachesTest::cpuList()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(platform::CountCpuList(text.toStdString()), count);
}

void CachesTest::fixtureMachines_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<std::vector<CacheLevel>>("caches");
    // Cores of two kinds: the largest instance of each level, the most
    // CPUs sharing one, and every distinct instance counted.
    QTest::newRow("hybrid desktop") << "sysfs-caches-hybrid"
                                    << std::vector<CacheLevel>{
                                           {1, "Data", 48 * 1024, 2, 6},
                                           {1, "Instruction", 64 * 1024, 2, 6},
                                           {2, "Unified", 2048 * 1024, 4, 3},
                                           {3, "Unified", 12288 * 1024, 8, 1},
                                       };
    // An offline CPU and the cpufreq folder have no caches; a level without
    // a size is left out.
    QTest::newRow("two-socket server") << "sysfs-caches-server"
                                       << std::vector<CacheLevel>{
                                              {1, "Data", 32 * 1024, 1, 3},
                                              {1, "Instruction", 32 * 1024, 1, 3},
                                              {2, "Unified", 1024 * 1024, 1, 3},
                                              {3, "Unified", 36608 * 1024, 2, 2},
                                          };
    QTest::newRow("no caches published") << "sysfs-empty" << std::vector<CacheLevel>{};
}

void CachesTest::fixtureMachines()
{
    QFETCH(QString, tree);
    QFETCH(std::vector<CacheLevel>, caches);
    const auto found = platform::ReadCaches(QUORVIX_TEST_DATA "/" + tree.toStdString());
    QCOMPARE(found.size(), caches.size());
    for (std::size_t i = 0; i < caches.size(); ++i) {
        QCOMPARE(found[i].level, caches[i].level);
        QCOMPARE(found[i].type, caches[i].type);
        QCOMPARE(found[i].sizeBytes, caches[i].sizeBytes);
        QCOMPARE(found[i].sharedBy, caches[i].sharedBy);
        QCOMPARE(found[i].instances, caches[i].instances);
    }
    const auto data = platform::DataCaches(found);
    QVERIFY(std::none_of(data.begin(), data.end(),
                         [](const CacheLevel& c) { return c.type == "Instruction"; }));
    QCOMPARE(data.size(), caches.empty() ? 0u : caches.size() - 1);
}

void CachesTest::realMachine()
{
    const auto caches = platform::ReadCaches();
    if (caches.empty())
        QSKIP("this system publishes no caches");
    const int cpus = int(platform::UsableCpus().size());
    for (const CacheLevel& cache : caches) {
        QVERIFY(cache.level >= 1);
        QVERIFY(cache.sizeBytes > 0);
        QVERIFY(cache.instances >= 1);
        // Sharing counts CPUs of the whole machine, the mask only ours.
        QVERIFY2(cache.sharedBy >= 1, cache.type.c_str());
    }
    QVERIFY(cpus >= 1);
}
