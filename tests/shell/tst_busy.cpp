#include "tst_classes.h"

#include "controls/Busy.h"

#include <QApplication>
#include <QStatusBar>
#include <QTest>

#include <stdexcept>

void TestBusy::cleanup()
{
    busy::SetHourglass(false);
}

void TestBusy::hourglassIsNotAStack()
{
    busy::SetHourglass(true);
    busy::SetHourglass(true);
    QVERIFY(busy::HourglassShown());
    busy::SetHourglass(false);
    QVERIFY(!busy::HourglassShown());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    busy::SetHourglass(false);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestBusy::beginAndEnd()
{
    QStatusBar bar;
    QCOMPARE(busy::StatusText(&bar), QString());
    busy::Begin(&bar);
    QVERIFY(busy::HourglassShown());
    QCOMPARE(busy::StatusText(&bar), QStringLiteral("Stand by ..."));
    bar.showMessage(QString()); // what a menu's status tip does
    QCOMPARE(busy::StatusText(&bar), QStringLiteral("Stand by ..."));
    busy::End(&bar);
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(busy::StatusText(&bar), QStringLiteral("Quorvix 2000.  Designed by Varnholt"));
}

void TestBusy::frameEndsOnError()
{
    QStatusBar bar;
    try {
        const busy::Frame frame(&bar);
        QVERIFY(busy::HourglassShown());
        throw std::runtime_error("kernel failed");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(!busy::HourglassShown());
    QCOMPARE(busy::StatusText(&bar), busy::StandardStatusText);
}
