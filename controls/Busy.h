// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QStatusBar;

// The busy convention every long command follows: one application-wide cursor
// state, the status bar's single text, and one pass of pending events so the
// busy state is painted before the thread blocks.
namespace busy {

inline const QString StandardStatusText = QStringLiteral("Quorvix 2000.  Designed by Varnholt");
inline const QString StandByText = QStringLiteral("Stand by ...");

// Hourglass or default. Not a stack: the last call wins.
void SetHourglass(bool on);
bool HourglassShown();

// The one text of a status bar (kept in a label, so menu status tips cannot
// wipe it).
void SetStatusText(QStatusBar* bar, const QString& text);
QString StatusText(const QStatusBar* bar);

// One pass over the pending window events.
void ProcessPendingEvents();

// Start of a benchmark: hourglass, "Stand by ...", one pass of events.
void Begin(QStatusBar* bar);
// End of a benchmark: default cursor, standard status text.
void End(QStatusBar* bar);

// Hourglass alone for the scope, default cursor afterwards.
class Hourglass
{
public:
    Hourglass() { SetHourglass(true); }
    ~Hourglass() { SetHourglass(false); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace busy
