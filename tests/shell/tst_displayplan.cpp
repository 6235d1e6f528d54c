// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "shell/DisplayPlan.h"

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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("xAnswers");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("noDisplay");
    QTest::addColumn<bool>("xAsked");

    const QStringList program{"quorvix"};
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
    QTest::newRow("-platform") << gnome << program + QStringList{"-platform", "wayland"} << true
                               << ""
                               << "" << false;
    QTest::newRow("--platform") << gnome << program + QStringList{"--platform", "wayland"} << true
                                << ""
                                << "" << false;
    QTest::newRow("-platform without a name")
        << gnome << program + QStringList{"-platform"} << true << "xcb"
        << "" << true;
    QTest::newRow("-platform as another option's value")
        << gnome << program + QStringList{"-platformtheme", "-platform", "gtk3"} << true << "xcb"
        << "" << true;
    QTest::newRow("-platform as the program's name")
        << gnome << QStringList{"-platform", "wayland"} << true << "xcb"
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
    QFETCH(QStringList, arguments);
    QFETCH(bool, xAnswers);
    QFETCH(QString, platform);
    QFETCH(QString, noDisplay);
    QFETCH(bool, xAsked);
    int asked = 0;
    const DisplayPlan plan = PlanDisplay(environmentOf(environment), arguments, [&] {
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
    QByteArray program("quorvix");
    QByteArray style("-style");
    QByteArray name("x");
    char* argv[] = {program.data(), style.data(), name.data(), nullptr};
    QtArguments arguments(3, argv, platform);
    QStringList seen;
    for (int i = 0; i < arguments.argc(); ++i)
        seen << QString::fromLocal8Bit(arguments.argv()[i]);
    QCOMPARE(seen, expected);
    QCOMPARE(arguments.argv()[arguments.argc()], nullptr); // ends as argv ends
}
