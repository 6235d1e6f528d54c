// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlan.h"

namespace {

// Qt's own options that take the next argument as their value.
bool takesValue(const QString& option)
{
    return option == QLatin1String("-platformpluginpath") ||
           option == QLatin1String("-platformtheme") || option == QLatin1String("-plugin");
}

} // namespace

bool PlatformChosen(const QProcessEnvironment& environment, const QStringList& arguments)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return true;
    // As Qt reads them: "--x" is "-x", and the name is the next argument.
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        QString option = arguments[i];
        if (option.startsWith(QLatin1String("--")))
            option.remove(0, 1);
        if (option == QLatin1String("-platform"))
            return true;
        if (takesValue(option))
            ++i;
    }
    return false;
}

DisplayPlan PlanDisplay(const QProcessEnvironment& environment, const QStringList& arguments,
                        const std::function<bool()>& xServerAnswers)
{
    if (PlatformChosen(environment, arguments))
        return {};
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

QtArguments::QtArguments(int argc, char** argv, const QString& platform) : m_argc(argc)
{
    m_pointers.assign(argv, argv + argc);
    if (!platform.isEmpty()) {
        m_added = {QByteArrayLiteral("-platform"), platform.toLocal8Bit()};
        for (QByteArray& added : m_added)
            m_pointers.push_back(added.data());
        m_argc += 2;
    }
    m_pointers.push_back(nullptr);
}
