// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlan.h"

bool PlatformChosen(const QProcessEnvironment& environment, const QStringList& qtOptionNames)
{
    return !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty() ||
           qtOptionNames.contains(QStringLiteral("platform"));
}

DisplayPlan PlanDisplay(const QProcessEnvironment& environment, const QStringList& qtOptionNames,
                        const std::function<bool()>& xServerAnswers)
{
    if (PlatformChosen(environment, qtOptionNames))
        return {};
    if (qtOptionNames.contains(QStringLiteral("display")))
        return {QStringLiteral("xcb"), {}};
    const QString display = environment.value(QStringLiteral("DISPLAY"));
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (!display.isEmpty() && xServerAnswers())
        return {QStringLiteral("xcb"), {}};
    if (wayland)
        return {};
    if (display.isEmpty())
        return {{}, QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set")};
    return {{}, QStringLiteral("no X server answers at DISPLAY=%1").arg(display)};
}
