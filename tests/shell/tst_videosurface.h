// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The real test surface window on whatever platform runs the test: the
// backing store on offscreen, the X server under Xvfb.
class TestVideoSurface : public QObject
{
    Q_OBJECT
private slots:
    void lastFillIsWhatTheDisplayShows();
    void fillsOnAConnectionOfItsOwn();
    void connectRefuses_data();
    void connectRefuses();
};
