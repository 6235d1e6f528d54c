// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoTests.h"
#include "sysinfo/DeviceDescriptions.h"

#include <QTest>

namespace {

const sysinfo::DeviceSources kDesktop{QUORVIX_TEST_DATA "/sysfs-desktop",
                                      [](const std::string&) { return platform::HardwareName{}; }};

} // namespace

void DeviceDescriptionsTest::className_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("descriptions");

    const QStringList displays = {"1af4:1050", "abcd:ef01"};
    const QStringList monitors = {"DELA0B4", "DELL U2412M"};
    const QStringList cdroms = {"HL-DT-ST DVDRAM GH24NSD1", "QEMU QEMU DVD-ROM"};
    QTest::newRow("Display") << "Display" << displays;
    QTest::newRow("lower case") << "display" << displays;
    QTest::newRow("upper case") << "DISPLAY" << displays;
    QTest::newRow("Monitor") << "Monitor" << monitors;
    QTest::newRow("CDROM") << "CDROM" << cdroms;
    QTest::newRow("CdRom") << "CdRom" << cdroms;
    QTest::newRow("Mouse keeps duplicates in order")
        << "Mouse" << QStringList{"ImExPS/2 Generic Explorer Mouse", "SynPS/2 Synaptics TouchPad",
                                  "AlpsPS/2 ALPS GlidePoint",        "QEMU QEMU USB Tablet",
                                  "Logitech USB Receiver",           "Logitech USB Receiver"};
    QTest::newRow("part of a name") << "Displa" << QStringList();
    QTest::newRow("longer name") << "Displays" << QStringList();
    QTest::newRow("blank around") << " Mouse" << QStringList();
    QTest::newRow("other class") << "Keyboard" << QStringList();
    QTest::newRow("empty") << "" << QStringList();
}

void DeviceDescriptionsTest::className()
{
    QFETCH(QString, className);
    QFETCH(QStringList, descriptions);
    QCOMPARE(sysinfo::GetDeviceDescriptions(className, kDesktop), descriptions);
}

void DeviceDescriptionsTest::join_data()
{
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QStringList() << "";
    QTest::newRow("one, no comma") << QStringList{"Standard VGA"} << "Standard VGA";
    QTest::newRow("three, two separators") << QStringList{"A", "B", "C"} << "A, B, C";
    QTest::newRow("duplicates") << QStringList{"Mouse", "Mouse"} << "Mouse, Mouse";
    QTest::newRow("empty entry kept") << QStringList{"A", "", "C"} << "A, , C";
}

void DeviceDescriptionsTest::join()
{
    QFETCH(QStringList, descriptions);
    QFETCH(QString, text);
    QCOMPARE(sysinfo::JoinDescriptions(descriptions), text);
}
