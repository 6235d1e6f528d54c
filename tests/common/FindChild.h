// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A window's component found by its object name, as a test finds those of
// any window. A missing one ends the run at once, naming what was asked for.
template <typename T> T* FindChild(const QObject& window, const char* name)
{
    T* child = window.findChild<T*>(QLatin1String(name));
    if (child == nullptr)
        qFatal("%s has no %s named %s", window.metaObject()->className(),
               T::staticMetaObject.className(), name);
    return child;
}
