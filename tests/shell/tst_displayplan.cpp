// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "shell/DisplayPlan.h"
#include "shell/QtArguments.h"

#include <QProcessEnvironment>
#include <QTest>

namespace {

QProcessEnvironment environmentOf(const QStringList& variables)
{
    QProcessEnvironment environment;
    for (const QString& variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    return environment;
}

} // namespace

void TestDisplayPlan::platformChoice_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("qtOptionNames");
    QTest::addColumn<bool>("xAnswers");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("noDisplay");
    QTest::addColumn<bool>("xAsked");

    const QStringList program; // no Qt option given
    const QStringList gnome{"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "XDG_SESSION_TYPE=wayland"};
    QTest::newRow("X session") << QStringList{"DISPLAY=:0"} << program << true << "xcb"
                               << "" << true;
    QTest::newRow("Wayland desktop with Xwayland") << gnome << program << true << "xcb"
                                                   << "" << true;
    QTest::newRow("Xwayland does not answer") << gnome << program << false << ""
                                              << "" << true;
    QTest::newRow("Wayland without Xwayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_SESSION_TYPE=wayland"} << program << true
        << ""
        << "" << false;
    QTest::newRow("QT_QPA_PLATFORM chosen")
        << gnome + QStringList{"QT_QPA_PLATFORM=wayland"} << program << true << ""
        << "" << false;
    QTest::newRow("offscreen chosen without a display")
        << QStringList{"QT_QPA_PLATFORM=offscreen"} << program << false << ""
        << "" << false;
    QTest::newRow("empty QT_QPA_PLATFORM chooses nothing")
        << QStringList{"DISPLAY=:0", "QT_QPA_PLATFORM="} << program << true << "xcb"
        << "" << true;
    QTest::newRow("-platform") << gnome << QStringList{"platform"} << true << ""
                               << "" << false;
    QTest::newRow("-display is for xcb") << QStringList{} << QStringList{"display"} << true << "xcb"
                                         << "" << false;
    QTest::newRow("other Qt options choose nothing")
        << gnome << QStringList{"style", "platformtheme"} << true << "xcb"
        << "" << true;
    QTest::newRow("no display at all") << QStringList{} << program << true << ""
                                       << "neither DISPLAY nor WAYLAND_DISPLAY is set" << false;
    QTest::newRow("X server gone") << QStringList{"DISPLAY=:5"} << program << false << ""
                                   << "no X server answers at DISPLAY=:5" << true;
}

// Environment and command line in, the platform to start Qt on out; the X
// server is asked at most once, and only where it decides.
void TestDisplayPlan::platformChoice()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, qtOptionNames);
    QFETCH(bool, xAnswers);
    QFETCH(QString, platform);
    QFETCH(QString, noDisplay);
    QFETCH(bool, xAsked);
    int asked = 0;
    const DisplayPlan plan = PlanDisplay(environmentOf(environment), qtOptionNames, [&] {
        ++asked;
        return xAnswers;
    });
    QCOMPARE(plan.platform, platform);
    QCOMPARE(plan.noDisplay, noDisplay);
    QCOMPARE(asked, xAsked ? 1 : 0);
}

void TestDisplayPlan::qtArgumentsAddThePlatform_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("xcb") << "xcb" << QStringList{"quorvix", "-style", "x", "-platform", "xcb"};
    QTest::newRow("Qt's choice") << "" << QStringList{"quorvix", "-style", "x"};
}

void TestDisplayPlan::qtArgumentsAddThePlatform()
{
    QFETCH(QString, platform);
    QFETCH(QStringList, expected);
    QtArguments arguments("quorvix", {"-style", "x"}, platform);
    QStringList seen;
    for (int i = 0; i < arguments.argc(); ++i)
        seen << QString::fromLocal8Bit(arguments.argv()[i]);
    QCOMPARE(seen, expected);
    QCOMPARE(arguments.argv()[arguments.argc()], nullptr); // ends as argv ends
}
