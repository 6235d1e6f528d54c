// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Devices.h"

#include <QStringList>
#include <QTest>

#include <filesystem>
#include <map>

namespace {

const std::filesystem::path kDesktop = QUORVIX_TEST_DATA "/sysfs-desktop";

QStringList toList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const auto& text : texts)
        list << QString::fromStdString(text);
    return list;
}

// A hardware database that knows the virtio GPU fully and vendor ABCD only.
platform::HardwareName fixtureDatabase(const std::string& modalias)
{
    static const std::map<std::string, platform::HardwareName> known = {
        {"pci:v00001AF4d00001050", {"Red Hat, Inc.", "Virtio 1.0 GPU"}},
        {"pci:v0000ABCD", {"Vadatech Inc.", ""}},
        {"pci:v00008086d00001237", {"Intel Corporation", "440FX - 82441FX PMC [Natoma]"}},
    };
    for (const auto& [prefix, name] : known)
        if (modalias.starts_with(prefix))
            return name;
    return {};
}

} // namespace

void DevicesTest::displayAdaptersNamedByLookup()
{
    // The host bridge and the audio function are no display controllers; the
    // 3D controller's model is unknown, so its ids stand in.
    QCOMPARE(toList(platform::ListDisplayAdapters(kDesktop, fixtureDatabase)),
             QStringList({"Red Hat, Inc. Virtio 1.0 GPU", "abcd:ef01"}));
}

void DevicesTest::realHardwareDatabaseKnowsIntel440FX()
{
    const platform::UdevHardwareDatabase hwdb;
    if (!hwdb.IsOpen())
        QSKIP("no udev hardware database on this machine (package udev)");
    const auto name = hwdb.Lookup("pci:v00008086d00001237sv00000000sd00000000bc06sc00i00");
    QCOMPARE(QString::fromStdString(name.vendor), QStringLiteral("Intel Corporation"));
    QVERIFY2(QString::fromStdString(name.model).contains(QStringLiteral("440FX")),
             name.model.c_str());
    QVERIFY(hwdb.Lookup("not-a-modalias").model.empty());
}

void DevicesTest::fixtureDisplayWithRealHardwareDatabase()
{
    if (!platform::UdevHardwareDatabase().IsOpen())
        QSKIP("no udev hardware database on this machine (package udev)");
    const QStringList names = toList(platform::ListDisplayAdapters(kDesktop));
    QCOMPARE(names.size(), 2);
    QCOMPARE(names[0], QStringLiteral("Red Hat, Inc. Virtio 1.0 GPU"));
}

void DevicesTest::monitors()
{
    // DP-2 is disconnected; VGA-1's EDID is corrupt, eDP-1's short and
    // HDMI-A-2's empty, so they have no name.
    QCOMPARE(toList(platform::ListMonitors(kDesktop)), QStringList({"DELA0B4", "DELL U2412M"}));
}

void DevicesTest::cdromDrives()
{
    QCOMPARE(toList(platform::ListCdromDrives(kDesktop)),
             QStringList({"HL-DT-ST DVDRAM GH24NSD1", "QEMU QEMU DVD-ROM"}));
}

void DevicesTest::pointingDevices()
{
    // Keyboard, power button, touch screen, pen tablet and consumer control
    // are left out, and so are the two mice without a name; the two identical
    // receivers both stay, input10 after input7.
    QCOMPARE(toList(platform::ListPointingDevices(kDesktop)),
             QStringList({"ImExPS/2 Generic Explorer Mouse", "SynPS/2 Synaptics TouchPad",
                          "AlpsPS/2 ALPS GlidePoint", "QEMU QEMU USB Tablet",
                          "Logitech USB Receiver", "Logitech USB Receiver"}));
}

void DevicesTest::machineWithoutDevices()
{
    for (const char* tree : {"/sysfs-empty", "/no-such-tree"}) {
        const std::filesystem::path root = std::string(QUORVIX_TEST_DATA) + tree;
        QVERIFY(platform::ListDisplayAdapters(root, fixtureDatabase).empty());
        QVERIFY(platform::ListMonitors(root).empty());
        QVERIFY(platform::ListCdromDrives(root).empty());
        QVERIFY(platform::ListPointingDevices(root).empty());
    }
}
