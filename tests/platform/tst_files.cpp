#include "ProbeTests.h"
#include "platform/Files.h"

#include <QTest>

void FilesTest::naturalOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("less");
    QTest::newRow("numbers by value") << "input2"
                                      << "input10" << true;
    QTest::newRow("reverse") << "input10"
                             << "input2" << false;
    QTest::newRow("equal") << "sr0"
                           << "sr0" << false;
    QTest::newRow("prefix first") << "card0"
                                  << "card0-DP-1" << true;
    QTest::newRow("letters") << "card0-DP-2"
                             << "card0-HDMI-A-1" << true;
    QTest::newRow("leading zeros count as value") << "x007"
                                                  << "x10" << true;
    QTest::newRow("pci addresses") << "0000:00:1f.3"
                                   << "0000:01:00.0" << true;
}

void FilesTest::naturalOrder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, less);
    QCOMPARE(platform::NaturalLess(a.toStdString(), b.toStdString()), less);
}
