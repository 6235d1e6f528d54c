// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/InputCapabilities.h"

#include <QTest>

void InputTest::bitmap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<unsigned>>("set");
    QTest::addColumn<QList<unsigned>>("clear");

    QTest::newRow("one word") << "3" << QList<unsigned>{0, 1} << QList<unsigned>{2, 63, 64};
    QTest::newRow("mouse buttons in the fifth word")
        << "1f0000 0 0 0 0" << QList<unsigned>{0x110, 0x114} << QList<unsigned>{0x10f, 0x115, 16};
    QTest::newRow("full word") << "ffffffffffffffff 0" << QList<unsigned>{64, 127}
                               << QList<unsigned>{0, 63, 128};
    QTest::newRow("line end") << "5\n" << QList<unsigned>{0, 2} << QList<unsigned>{1};
    QTest::newRow("empty") << "" << QList<unsigned>{} << QList<unsigned>{0, 1};
    QTest::newRow("not hex claims nothing")
        << "3 zz" << QList<unsigned>{} << QList<unsigned>{0, 1, 64};
    QTest::newRow("overlong word claims nothing")
        << "1ffffffffffffffff" << QList<unsigned>{} << QList<unsigned>{0};
}

void InputTest::bitmap()
{
    QFETCH(QString, text);
    QFETCH(QList<unsigned>, set);
    QFETCH(QList<unsigned>, clear);
    const auto bitmap = platform::InputBitmap::Parse(text.toStdString());
    for (unsigned bit : set)
        QVERIFY2(bitmap.Test(bit), qPrintable(QString::number(bit)));
    for (unsigned bit : clear)
        QVERIFY2(!bitmap.Test(bit), qPrintable(QString::number(bit)));
}

void InputTest::pointingDevice_data()
{
    QTest::addColumn<QString>("rel");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("abs");
    QTest::addColumn<QString>("props");
    QTest::addColumn<bool>("pointing");

    QTest::newRow("mouse") << "3"
                           << "10000 0 0 0 0"
                           << "0"
                           << "0" << true;
    QTest::newRow("relative axes without a button") << "3"
                                                    << "0"
                                                    << "0"
                                                    << "0" << false;
    QTest::newRow("button without axes") << "0"
                                         << "10000 0 0 0 0"
                                         << "0"
                                         << "0" << false;
    QTest::newRow("wheel only") << "100"
                                << "10000 0 0 0 0"
                                << "0"
                                << "0" << false;
    QTest::newRow("keyboard") << "0"
                              << "feffffdfffefffff fffffffffffffffe"
                              << "0"
                              << "0" << false;
    QTest::newRow("power button") << "0"
                                  << "10000000000000 0"
                                  << "0"
                                  << "0" << false;
    QTest::newRow("touchpad by finger tool") << "0"
                                             << "2420 10000 0 0 0 0"
                                             << "3"
                                             << "0" << true;
    QTest::newRow("touchpad by pointer property") << "0"
                                                  << "400 0 0 0 0 0"
                                                  << "3"
                                                  << "1" << true;
    QTest::newRow("touch screen") << "0"
                                  << "420 0 0 0 0 0"
                                  << "3"
                                  << "2" << false;
    QTest::newRow("pen tablet") << "0"
                                << "c21 0 0 0 0 0"
                                << "3"
                                << "1" << false;
    QTest::newRow("absolute mouse of a virtual machine") << "0"
                                                         << "70000 0 0 0 0"
                                                         << "3"
                                                         << "0" << true;
    QTest::newRow("absolute X only") << "0"
                                     << "20 0 0 0 0 0"
                                     << "1"
                                     << "1" << false;
    QTest::newRow("joystick") << "0"
                              << "ffff00000000 0 0 0 0"
                              << "3"
                              << "0" << false;
}

void InputTest::pointingDevice()
{
    QFETCH(QString, rel);
    QFETCH(QString, key);
    QFETCH(QString, abs);
    QFETCH(QString, props);
    QFETCH(bool, pointing);
    const platform::InputCapabilities caps{platform::InputBitmap::Parse(rel.toStdString()),
                                           platform::InputBitmap::Parse(key.toStdString()),
                                           platform::InputBitmap::Parse(abs.toStdString()),
                                           platform::InputBitmap::Parse(props.toStdString())};
    QCOMPARE(platform::IsPointingDevice(caps), pointing);
}
