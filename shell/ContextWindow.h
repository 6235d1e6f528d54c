// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/Insight.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class ContextWindow;
}

// The figures in context: all cores against one, the effective clock
// against the counter's rate, latency and bandwidth by cache level, as a
// table with small bars; Copy as text gives the report's section.
class ContextWindow : public QWidget
{
    Q_OBJECT

public:
    // Runs the measurements; none when the command did not complete.
    using Measure = std::function<std::optional<report::Insight>()>;

    explicit ContextWindow(Measure measure, QWidget* parent = nullptr);
    ~ContextWindow() override;

    void measure();
    void showInsight(const report::Insight& insight);
    // What Copy as text puts on the clipboard; empty before a measurement.
    QString text() const;

    // What the window says before the first measurement.
    static inline const QString NotYetText =
        QStringLiteral("Not measured yet: press Measure. The measurements keep every core busy "
                       "for several seconds.");

private:
    void copy();

    std::unique_ptr<Ui::ContextWindow> m_ui;
    Measure m_measure;
    std::optional<report::Insight> m_insight;
};
