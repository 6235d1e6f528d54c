// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

void DrivesTest::parseMountInfo_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("devices");

    QTest::newRow("plain") << "21 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw" << true << "/"
                           << "ext4"
                           << "/dev/sda2"
                           << "8:2";
    QTest::newRow("no optional fields")
        << "21 1 259:3 / /data rw - xfs /dev/nvme0n1p3 rw" << true << "/data"
        << "xfs"
        << "/dev/nvme0n1p3"
        << "259:3";
    QTest::newRow("several optional fields")
        << "40 21 0:45 /@ /home rw shared:3 master:1 propagate_from:2 - btrfs /dev/sdb1 rw" << true
        << "/home"
        << "btrfs"
        << "/dev/sdb1"
        << "0:45";
    QTest::newRow("escaped blank")
        << "30 21 8:17 / /media/USB\\040STICK rw - vfat /dev/sdb1 rw" << true << "/media/USB STICK"
        << "vfat"
        << "/dev/sdb1"
        << "8:17";
    QTest::newRow("escaped tab, newline, backslash")
        << "30 21 8:17 / /m/a\\011b\\012c\\134d rw - vfat /dev/sdb1 rw" << true << "/m/a\tb\nc\\d"
        << "vfat"
        << "/dev/sdb1"
        << "8:17";
    QTest::newRow("backslash without octal kept")
        << "30 21 8:17 / /m/x\\9 rw - vfat /dev/x rw" << true << "/m/x\\9"
        << "vfat"
        << "/dev/x"
        << "8:17";
    QTest::newRow("escape cut short at the end")
        << "30 21 8:17 / /m/x\\04 rw - vfat /dev/x rw" << true << "/m/x\\04"
        << "vfat"
        << "/dev/x"
        << "8:17";
    QTest::newRow("no separator") << "21 1 8:2 / / rw shared:1 ext4 /dev/sda2 rw" << false << ""
                                  << ""
                                  << ""
                                  << "";
    QTest::newRow("bad device numbers") << "21 1 8-2 / / rw - ext4 /dev/sda2 rw" << false << ""
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("too short") << "21 1 8:2" << false << ""
                               << ""
                               << ""
                               << "";
}

void DrivesTest::parseMountInfo()
{
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const auto entries = platform::ParseMountInfo(line.toStdString() + "\n");
    QCOMPARE(entries.size(), parsed ? 1U : 0U);
    if (!parsed)
        return;
    QFETCH(QString, mountPoint);
    QFETCH(QString, fsType);
    QFETCH(QString, source);
    QFETCH(QString, devices);
    QCOMPARE(QString::fromStdString(entries[0].mountPoint), mountPoint);
    QCOMPARE(QString::fromStdString(entries[0].fsType), fsType);
    QCOMPARE(QString::fromStdString(entries[0].source), source);
    QCOMPARE(QStringLiteral("%1:%2").arg(entries[0].major).arg(entries[0].minor), devices);
}

// The fixtures' mount tables hold every kind of mount: see make-sysfs-fixtures.py.
void DrivesTest::fixtureMachine_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("desktop") << "mountinfo"
                             << QStringList{
                                    "/ on sda2", // its bind mount at /srv/export-bind is left out
                                    "/boot/efi on sda1",
                                    "/data on dm-1",      // device-mapper volume, by its numbers
                                    "/home on nvme0n1p2", // btrfs: the second subvolume is left out
                                    "/mnt/Backup Disk on nvme0n1p3",
                                    "/var/crypt on dm-2", // btrfs on /dev/mapper/cryptvol, by name
                                };
    // vda1 is first mounted on /etc/resolv.conf, a file, and never at its own
    // root; vdb is bound at /var/cache/app before its root is at /data; vdc
    // reaches the container only as a file.
    QTest::newRow("container") << "mountinfo-container"
                               << QStringList{"/data on vdb", "/work on vda1"};
}

void DrivesTest::fixtureMachine()
{
    QFETCH(QString, tree);
    QFETCH(QStringList, expected);
    const auto drives = platform::ListFixedMounts((QUORVIX_TEST_DATA "/" + tree).toStdString());
    QStringList found;
    for (const auto& drive : drives)
        found << QString::fromStdString(drive.mountPoint + " on " + drive.device);
    QCOMPARE(found, expected);
}

void DrivesTest::noFixedDrive()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("proc/self")));
    QFile file(root.filePath(QStringLiteral("proc/self/mountinfo")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("22 1 0:40 / / rw - overlay overlay rw\n23 22 0:21 / /proc rw - proc proc rw\n"
               "25 22 0:30 / /tmp rw - tmpfs tmpfs rw\n");
    file.close();
    QVERIFY(platform::ListFixedMounts(root.path().toStdString()).empty());
    QVERIFY(
        platform::ListFixedMounts(root.filePath(QStringLiteral("missing")).toStdString()).empty());
}

void DrivesTest::realMachine()
{
    const auto drives = platform::ListFixedMounts("/");
    for (std::size_t i = 0; i < drives.size(); ++i) {
        QVERIFY(std::filesystem::is_directory(drives[i].mountPoint));
        if (i > 0)
            QVERIFY(drives[i - 1].mountPoint < drives[i].mountPoint);
        const auto space = platform::QueryDriveSpace(drives[i].mountPoint);
        QVERIFY(space);
        QVERIFY(space->totalBytes > 0);
        QVERIFY(space->availableBytes <= space->totalBytes);
    }
    QVERIFY(!platform::QueryDriveSpace("/no/such/mount/point"));
}

// Which filesystem a path is on, in a container: the longest mount point
// that holds it, the last mounted of equals.
void DrivesTest::mountHolding_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("type"); // empty: none
    QTest::addColumn<bool>("network");
    QTest::addColumn<bool>("kernel");
    QTest::newRow("/") << "/"
                       << "overlay" << false << false;
    QTest::newRow("below /") << "/home/user"
                             << "overlay" << false << false;
    QTest::newRow("a bound folder") << "/work/src"
                                    << "ext4" << false << false;
    QTest::newRow("its mount point") << "/data"
                                     << "xfs" << false << false;
    QTest::newRow("a name that only begins alike") << "/database"
                                                   << "overlay" << false << false;
    QTest::newRow("bound file") << "/etc/hosts"
                                << "ext4" << false << false;
    QTest::newRow("proc") << "/proc/self"
                          << "proc" << false << true;
    QTest::newRow("tmpfs") << "/dev/shm"
                           << "tmpfs" << false << false;
    QTest::newRow("relative") << "work"
                              << "" << false << false;
}

void DrivesTest::mountHolding()
{
    QFETCH(QString, path);
    QFETCH(QString, type);
    QFETCH(bool, network);
    QFETCH(bool, kernel);
    const auto mount =
        platform::MountHolding(QUORVIX_TEST_DATA "/mountinfo-container", path.toStdString());
    QCOMPARE(mount.has_value(), !type.isEmpty());
    if (!mount)
        return;
    QCOMPARE(QString::fromStdString(mount->fsType), type);
    QCOMPARE(platform::IsNetworkFilesystem(mount->fsType), network);
    QCOMPARE(platform::IsKernelFilesystem(mount->fsType), kernel);
    QVERIFY(platform::IsNetworkFilesystem("nfs4") && platform::IsNetworkFilesystem("cifs"));
}
