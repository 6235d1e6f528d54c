// SPDX-License-Identifier: GPL-3.0-or-later
#include "Busy.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QStatusBar>

namespace busy {

namespace {

const QString TextLabelName = QStringLiteral("SimpleText");

QLabel* textLabel(const QStatusBar* bar)
{
    return bar->findChild<QLabel*>(TextLabelName, Qt::FindDirectChildrenOnly);
}

} // namespace

void SetHourglass(bool on)
{
    // Qt keeps override cursors as a stack; hold at most one.
    const bool shown = QApplication::overrideCursor() != nullptr;
    if (on && !shown)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else if (!on)
        while (QApplication::overrideCursor() != nullptr)
            QApplication::restoreOverrideCursor();
}

bool HourglassShown()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

void SetStatusText(QStatusBar* bar, const QString& text)
{
    QLabel* label = textLabel(bar);
    if (label == nullptr) {
        label = new QLabel(bar);
        label->setObjectName(TextLabelName);
        bar->addWidget(label, 1);
    }
    label->setText(text);
}

QString StatusText(const QStatusBar* bar)
{
    const QLabel* label = textLabel(bar);
    return label != nullptr ? label->text() : QString();
}

void ProcessPendingEvents()
{
    QApplication::processEvents();
}

void Begin(QStatusBar* bar)
{
    SetHourglass(true);
    SetStatusText(bar, StandByText);
    ProcessPendingEvents();
}

void End(QStatusBar* bar)
{
    SetHourglass(false);
    SetStatusText(bar, StandardStatusText);
}

} // namespace busy
