// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationStart.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler g_earlierHandler = nullptr;
QByteArray g_failure;
bool g_starting = false;

// Qt's fatal message ends in abort(); here it ends the program with the
// program's own message. Every other message goes where it went before.
void exitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg || !g_starting) {
        g_earlierHandler(type, context, text);
        return;
    }
    std::fputs(g_failure.constData(), stderr);
    std::fflush(nullptr);
    // No exit handlers: the half-made application object cannot be torn down.
    std::_Exit(1);
}

} // namespace

std::unique_ptr<TApplication> StartApplication(int& argc, char** argv, const QString& failure)
{
    g_failure = failure.toLocal8Bit();
    g_earlierHandler = qInstallMessageHandler(exitOnFatal);
    g_starting = true;
    auto application = std::make_unique<TApplication>(argc, argv);
    g_starting = false;
    // Back to the earlier handler, unless the application object put its own.
    const QtMessageHandler current = qInstallMessageHandler(g_earlierHandler);
    if (current != exitOnFatal)
        qInstallMessageHandler(current);
    return application;
}

QString DisplayVariables()
{
    QStringList set;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            set << QString::fromLatin1(name) + QLatin1Char('=') + qEnvironmentVariable(name);
    return set.isEmpty() ? QStringLiteral("no display variable set")
                         : set.join(QStringLiteral(", "));
}
