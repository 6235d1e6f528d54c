// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTests.h"

#include "controls/Busy.h"

#include <QApplication>
#include <QStatusBar>
#include <QTest>

void BusyTest::cleanup()
{
    busy::SetHourglass(false);
}

void BusyTest::hourglassIsNotAStack()
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

void BusyTest::beginAndEnd()
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
