// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeProcessor.h"
#include "SysInfoTests.h"
#include "sysinfo/OneLineText.h"
#include "sysinfo/Overview.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <map>

void OverviewTest::memoryField_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<quint32>("load");
    QTest::addColumn<QString>("text");
    QTest::newRow("just under 128 MiB") << quint64(133677056) << 37U << "128 Mb (used 37%)";
    QTest::newRow("exactly 128 MiB still adds one")
        << quint64(134217728) << 5U << "129 Mb (used 5%)";
    QTest::newRow("above 4 GiB") << quint64(68719476736) << 100U << "65537 Mb (used 100%)";
    QTest::newRow("unreadable") << quint64(0) << 0U << "1 Mb (used 0%)";
}

void OverviewTest::memoryField()
{
    QFETCH(quint64, bytes);
    QFETCH(quint32, load);
    QFETCH(QString, text);
    QCOMPARE(sysinfo::MemoryField({bytes, load}), text);
}

void OverviewTest::processorField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("mhz");
    QTest::addColumn<QString>("text");
    QTest::newRow("486") << "Intel 486" << 0U << "Intel 486 0 MHz";
    QTest::newRow("K6-2") << "AMD K6-2" << 350U << "AMD K6-2 350 MHz";
    QTest::newRow("empty name starts with the blank") << "" << 1400U << " 1400 MHz";
    QTest::newRow("unsigned") << "X" << 4294967295U << "X 4294967295 MHz";
    QTest::newRow("percent signs stay text")
        << "Test %s %1 %d CPU" << 5200U << "Test %s %1 %d CPU 5200 MHz";
}

void OverviewTest::processorField()
{
    QFETCH(QString, name);
    QFETCH(quint32, mhz);
    QFETCH(QString, text);
    QCOMPARE(sysinfo::ProcessorField(name, mhz), text);
}

void OverviewTest::osField()
{
    QVERIFY(!sysinfo::OsField(std::nullopt));
    QCOMPARE(sysinfo::OsField(platform::OsVersion{}), QStringLiteral(" ()"));
    QCOMPARE(sysinfo::OsField(platform::OsVersion{"Debian GNU/Linux 12 (bookworm)", "6.1.0", "a"}),
             QStringLiteral("Debian GNU/Linux 12 (bookworm) (6.1.0a)"));
}

void OverviewTest::fixedDrives()
{
    const std::map<std::string, std::uint64_t> sizes = {
        {"/", 4294967295ULL}, // rounds down to 4095
        {"/boot/efi", 536870912ULL},
        {"/home", 1000204886016ULL},
        {"/mnt/Backup Disk", 1048575ULL},    // under one MiB
        {"/var/crypt", 5629499534213120ULL}, // 5 PiB: past 32 bits of MiB
    };
    QStringList asked;
    const auto space = [&](const std::string& path) -> std::optional<platform::DriveSpace> {
        asked << QString::fromStdString(path);
        const auto it = sizes.find(path);
        if (it == sizes.end())
            return std::nullopt; // "/data": the size query fails
        return platform::DriveSpace{it->second, 0};
    };
    const auto listing = sysinfo::ListFixedDrives(QUORVIX_TEST_DATA "/mountinfo", space);
    const QStringList items = {"Drive /",     "Drive /boot/efi",        "Drive /data",
                               "Drive /home", "Drive /mnt/Backup Disk", "Drive /var/crypt"};
    QCOMPARE(listing.items, items);
    QCOMPARE(asked,
             QStringList({"/", "/boot/efi", "/data", "/home", "/mnt/Backup Disk", "/var/crypt"}));
    QCOMPARE(listing.sizes, QStringLiteral("Drive / (4095 Mb), Drive /boot/efi (512 Mb), "
                                           "Drive /data (0 Mb), Drive /home (953869 Mb), "
                                           "Drive /mnt/Backup Disk (0 Mb), "
                                           "Drive /var/crypt (5368709120 Mb), "));
}

namespace {

bool writeFile(const QTemporaryDir& root, const QString& relative, const QByteArray& bytes)
{
    QDir(root.path()).mkpath(QFileInfo(relative).path());
    QFile file(root.filePath(relative));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void OverviewTest::fixedDriveWithControlCharacters_data()
{
    QTest::addColumn<QByteArray>("field"); // as mountinfo writes the mount point
    QTest::addColumn<QByteArray>("path");  // the real one
    QTest::addColumn<QString>("shown");

    QTest::newRow("newline and tab")
        << QByteArray("/mnt/a\\011b\\012c") << QByteArray("/mnt/a\tb\nc")
        << QStringLiteral("/mnt/a\\011b\\012c");
    QTest::newRow("blank stays") << QByteArray("/mnt/a\\040b") << QByteArray("/mnt/a b")
                                 << QStringLiteral("/mnt/a b");
    QTest::newRow("bytes that are not UTF-8")
        << QByteArray("/mnt/\xff\xfe") << QByteArray("/mnt/\xff\xfe")
        << QStringLiteral("/mnt/\uFFFD\uFFFD");
}

// The item and the "HDD's" field show the escapes; the drive's real path is
// kept beside the item and is what the size is asked for.
void OverviewTest::fixedDriveWithControlCharacters()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, path);
    QFETCH(QString, shown);
    QTemporaryDir root;
    QVERIFY(writeFile(root, QStringLiteral("proc/self/mountinfo"),
                      "21 1 8:2 / " + field + " rw - ext4 /dev/sda2 rw\n"));
    QVERIFY(writeFile(root, QStringLiteral("sys/dev/block/8:2/removable"), "0\n"));
    std::filesystem::create_directories(root.path().toStdString() + path.toStdString());

    QList<QByteArray> asked;
    const auto space = [&](const std::string& mountPoint) -> std::optional<platform::DriveSpace> {
        asked << QByteArray::fromStdString(mountPoint);
        return platform::DriveSpace{1048576, 0};
    };
    const auto listing = sysinfo::ListFixedDrives(root.path().toStdString(), space);
    QCOMPARE(listing.items, QStringList{"Drive " + shown});
    QCOMPARE(listing.sizes, "Drive " + shown + " (1 Mb), ");
    QCOMPARE(listing.paths, QList<QByteArray>{path});
    QCOMPARE(asked, QList<QByteArray>{path});
    std::filesystem::remove_all(root.path().toStdString()); // names Qt cannot decode
}

void OverviewTest::oneLineText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Optical Mouse"
                           << "Optical Mouse";
    QTest::newRow("line ends and tab")
        << QStringLiteral("a\nb\r\tc") << QStringLiteral("a\\012b\\015\\011c");
    QTest::newRow("NUL, escape and delete")
        << QString::fromUtf16(u"\u0000x\u001by\u007f", 5) << QStringLiteral("\\000x\\033y\\177");
    QTest::newRow("C1 controls as their UTF-8 bytes")
        << QString::fromUtf16(u"a\u009b2Jb\u0085") << QStringLiteral("a\\302\\2332Jb\\302\\205");
    QTest::newRow("backslash and letters beyond ASCII stay")
        << QStringLiteral("C:\\ Диск") << QStringLiteral("C:\\ Диск");
    QTest::newRow("empty") << ""
                           << "";
}

void OverviewTest::oneLineText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(sysinfo::OneLineText(text), shown);
}

// Names, the system's version and device names may hold control characters;
// the one-line fields show them escaped.
void OverviewTest::systemTextsKeepToOneLine()
{
    QTemporaryDir root;
    QVERIFY(writeFile(root, QStringLiteral("etc/os-release"), "PRETTY_NAME=\"Deb\tian\"\n"));
    const QString mouse = QStringLiteral("sys/class/input/input0/");
    QVERIFY(writeFile(root, mouse + "name", "Optical\tMouse\n"));
    QVERIFY(writeFile(root, mouse + "capabilities/rel", "143\n"));
    QVERIFY(writeFile(root, mouse + "capabilities/key", "1f0000 0 0 0 0\n"));
    QVERIFY(writeFile(root, mouse + "capabilities/abs", "0\n"));
    QVERIFY(writeFile(root, mouse + "properties", "0\n"));

    sysinfo::OverviewSources sources;
    sources.root = root.path().toStdString();
    sources.processor = FakeProcessor{486, "", 0, {}}.Source();
    double nowMs = 0;
    sources.counter.sleep = [&nowMs](unsigned ms) { nowMs += ms; };
    sources.counter.milliseconds = [&nowMs] { return nowMs; };
    sources.computerName = [] { return std::string("host\nname"); };
    sources.userName = [] { return std::string("user\x7fname"); };
    sources.kernel = [] { return platform::KernelIdentity{"Linux", "6.1\x1b"}; };

    const sysinfo::OverviewFields fields = sysinfo::GatherOverview(sources);
    QCOMPARE(fields.computerName, QStringLiteral("host\\012name"));
    QCOMPARE(fields.userName, QStringLiteral("user\\177name"));
    QCOMPARE(fields.os, QStringLiteral("Deb\\011ian (6.1\\033)"));
    QCOMPARE(fields.mouse, QStringLiteral("Optical\\011Mouse"));
}

void OverviewTest::noFixedDrive()
{
    const auto listing =
        sysinfo::ListFixedDrives(QUORVIX_TEST_DATA "/sysfs-empty", platform::QueryDriveSpace);
    QVERIFY(listing.items.isEmpty());
    QVERIFY(listing.sizes.isEmpty());
}

// A container's listing names each drive's filesystem, and the one at "/",
// which tells why a chroot lists none.
void OverviewTest::containerDrivesAndRoot()
{
    const auto listing = sysinfo::ListFixedDrives(QUORVIX_TEST_DATA "/mountinfo-container",
                                                  platform::QueryDriveSpace);
    QCOMPARE(listing.items, (QStringList{"Drive /data", "Drive /work"}));
    QCOMPARE(listing.filesystems, (QStringList{"xfs", "ext4"}));
    QCOMPARE(listing.rootFilesystem, QStringLiteral("overlay"));
    QCOMPARE(sysinfo::ListFixedDrives(QUORVIX_TEST_DATA "/sysfs-empty", platform::QueryDriveSpace)
                 .rootFilesystem,
             QString());
}

void OverviewTest::gatherFixtureMachine()
{
    sysinfo::OverviewSources sources;
    sources.root = QUORVIX_TEST_DATA "/sysfs-desktop";
    sources.processor = FakeProcessor{586, "GenuineIntel", Signature(6, 7), {}}.Source();
    std::uint64_t ticks = 1000;
    sources.counter.readCounter = [&ticks] { return ticks += 500000000; };
    double nowMs = 0;
    sources.counter.sleep = [&nowMs](unsigned ms) { nowMs += ms; };
    sources.counter.milliseconds = [&nowMs] { return nowMs; };
    sources.hardwareNames = [](const std::string& modalias) {
        return modalias.starts_with("pci:v00001AF4d00001050")
                   ? platform::HardwareName{"Red Hat, Inc.", "Virtio 1.0 GPU"}
                   : platform::HardwareName{};
    };
    sources.computerName = [] { return std::string("WORKSTATION-WITH-A-LONG-NAME"); };
    sources.userName = [] { return std::string("a.very.long.user.name"); };
    sources.kernel = [] { return platform::KernelIdentity{"Linux", "6.1.0-18-amd64"}; };

    const sysinfo::OverviewFields fields = sysinfo::GatherOverview(sources);
    QCOMPARE(fields.processor, QStringLiteral("Intel Pentium III 500 MHz"));
    QCOMPARE(fields.memory, QStringLiteral("15922 Mb (used 25%)"));
    QCOMPARE(fields.computerName, QStringLiteral("WORKSTATION-WITH-A-LONG-NAME"));
    QCOMPARE(fields.userName, QStringLiteral("a.very.long.user.name"));
    QCOMPARE(fields.os, QStringLiteral("Debian GNU/Linux 12 (bookworm) (6.1.0-18-amd64)"));
    QCOMPARE(fields.display, QStringLiteral("Red Hat, Inc. Virtio 1.0 GPU, abcd:ef01"));
    QCOMPARE(fields.monitor, QStringLiteral("DELA0B4, DELL U2412M"));
    QCOMPARE(fields.cdrom, QStringLiteral("HL-DT-ST DVDRAM GH24NSD1, QEMU QEMU DVD-ROM"));
    QCOMPARE(fields.mouse, QStringLiteral("ImExPS/2 Generic Explorer Mouse, SynPS/2 Synaptics "
                                          "TouchPad, AlpsPS/2 ALPS GlidePoint, QEMU QEMU USB "
                                          "Tablet, Logitech USB Receiver, Logitech USB Receiver"));
}

void OverviewTest::gatherWithoutAnything()
{
    sysinfo::OverviewSources sources;
    sources.root = QUORVIX_TEST_DATA "/sysfs-empty";
    sources.processor = FakeProcessor{486, "", 0, {}}.Source();
    sources.counter.sleep = [](unsigned) { QFAIL("a 486 is not measured"); };
    sources.kernel = [] { return std::optional<platform::KernelIdentity>(); };

    const sysinfo::OverviewFields fields = sysinfo::GatherOverview(sources);
    QCOMPARE(fields.processor, QStringLiteral("Intel 486 0 MHz"));
    QCOMPARE(fields.memory, QStringLiteral("1 Mb (used 0%)"));
    QVERIFY(!fields.os);                     // the OS field keeps its text
    QVERIFY(!fields.computerName.isEmpty()); // the real names are still read
    for (const QString& device : {fields.display, fields.monitor, fields.cdrom, fields.mouse})
        QVERIFY(device.isEmpty());
}

void OverviewTest::thisMachinesFields()
{
    const sysinfo::OverviewFields fields = sysinfo::GatherOverview();
    const QString name = sysinfo::GetProcessorName();
    QVERIFY(!name.isEmpty()); // an x86-64 processor is never nameless
    QVERIFY2(QRegularExpression(QStringLiteral("^\\S.* [1-9][0-9]* MHz$"))
                 .match(fields.processor)
                 .hasMatch(),
             qPrintable(fields.processor));
    QVERIFY(fields.processor.startsWith(name + QLatin1Char(' ')));
    QVERIFY2(QRegularExpression(QStringLiteral("^[1-9][0-9]* Mb \\(used [0-9]{1,3}%\\)$"))
                 .match(fields.memory)
                 .hasMatch(),
             qPrintable(fields.memory));
    QCOMPARE(fields.computerName, QString::fromStdString(platform::ComputerName()));
    QVERIFY(fields.os && fields.os->endsWith(QStringLiteral(")")));
}
