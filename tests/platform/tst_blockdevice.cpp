// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"

#include "platform/BlockDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/sysmacros.h>

namespace {

void put(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}

// A sysfs tree with a SATA disk sda (rotating) and an NVMe disk on a PCIe
// 3.0 x4 link, each with a partition; their numbers link into it as the
// kernel's do.
void makeTree(const QString& root)
{
    const QString sata = root + "/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/"
                                "0:0:0:0/block/sda";
    put(sata + "/device/model", "WDC WD40EFRX-68N   \n");
    put(sata + "/queue/rotational", "1\n");
    put(sata + "/sda1/partition", "1\n");
    const QString function = root + "/sys/devices/pci0000:00/0000:00:01.1/0000:01:00.0";
    put(function + "/current_link_speed", "8.0 GT/s PCIe\n");
    put(function + "/current_link_width", "4\n");
    const QString nvme = function + "/nvme/nvme0/nvme0n1";
    put(nvme + "/device/model", "Samsung SSD 970 EVO Plus 1TB\n");
    put(nvme + "/queue/rotational", "0\n");
    put(nvme + "/nvme0n1p2/partition", "2\n");
    QDir().mkpath(root + "/sys/dev/block");
    const auto link = [&](const QString& target, const char* number) {
        QVERIFY(QFile::link(target, root + "/sys/dev/block/" + number));
    };
    link(sata, "8:0");
    link(sata + "/sda1", "8:1");
    link(nvme + "/nvme0n1p2", "259:2");
}

} // namespace

void BlockDeviceTest::diskOfAFilesystem_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("name"); // empty: no disk
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("rotational");
    QTest::addColumn<qint64>("link");

    QTest::newRow("SATA disk") << 8 << 0 << "sda"
                               << "WDC WD40EFRX-68N" << 1 << qint64(600'000'000);
    QTest::newRow("partition of the SATA disk") << 8 << 1 << "sda"
                                                << "WDC WD40EFRX-68N" << 1 << qint64(600'000'000);
    QTest::newRow("NVMe partition on PCIe 3.0 x4")
        << 259 << 2 << "nvme0n1"
        << "Samsung SSD 970 EVO Plus 1TB" << 0 << qint64(3'938'461'538);
    QTest::newRow("tmpfs: no block device") << 0 << 45 << ""
                                            << "" << 0 << qint64(0);
}

void BlockDeviceTest::diskOfAFilesystem()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, name);
    QFETCH(QString, model);
    QFETCH(int, rotational);
    QFETCH(qint64, link);
    const QTemporaryDir dir;
    makeTree(dir.path());
    const auto disk = platform::BlockDeviceOf(makedev(unsigned(major), unsigned(minor)),
                                              dir.path().toStdString());
    QCOMPARE(disk.has_value(), !name.isEmpty());
    if (!disk)
        return;
    QCOMPARE(QString::fromStdString(disk->name), name);
    QCOMPARE(QString::fromStdString(disk->model), model);
    QCOMPARE(disk->rotational, std::optional<bool>(rotational != 0));
    QCOMPARE(qint64(disk->interfaceBytesPerSecond.value_or(0)), link);
}
