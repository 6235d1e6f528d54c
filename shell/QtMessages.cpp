// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtMessages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

bool g_shown = false;

void handleQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!g_shown && type != QtFatalMsg)
        return;
    const QString text = qFormatLogMessage(type, context, message);
    std::fprintf(stderr, "Qt: %s\n", text.toUtf8().constData());
}

} // namespace

void RouteQtMessages(bool shown)
{
    g_shown = shown;
    qInstallMessageHandler(handleQtMessage);
}
