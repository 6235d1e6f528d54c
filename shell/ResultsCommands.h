// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/Insight.h"
#include "session/FullRun.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class ContextWindow;
class HistoryWindow;
class QAction;
class QMenu;
class QWidget;

namespace report {
class Session;
}

// The main window's commands on its results beyond the pages: keeping the
// latest ones where --save keeps results, and the History window.
class ResultsCommands
{
public:
    // Adds "Keep results" to `file` before `before`, and "History" and "In
    // context" to `benchmarks` after a separator.
    ResultsCommands(QMenu& file, QAction* before, QMenu& benchmarks);
    ~ResultsCommands();
    ResultsCommands(const ResultsCommands&) = delete;
    ResultsCommands& operator=(const ResultsCommands&) = delete;

    QAction* keepAction() const { return m_keep; }
    QAction* historyAction() const { return m_history; }
    QAction* contextAction() const { return m_context; }

    // After every page refresh: there is something new to keep when a
    // figure was measured.
    void resultsChanged(const report::Session& session);
    // After an all-tests run that reached its end.
    void allTestsRan(const report::Session& session, const report::AllTestsResults& run);

    // Saves the latest results; returns the file's path. Raises SaveError.
    // Nothing is new to keep afterwards.
    QString keep(const report::Session& session);
    // Shows the History window over `owner`, read afresh.
    void showHistory(QWidget* owner);
    // Shows the In context window over `owner`; its Measure runs `measure`.
    void showContext(QWidget* owner,
                     const std::function<std::optional<report::Insight>()>& measure);

private:
    QAction* m_keep;
    QAction* m_history;
    QAction* m_context;
    std::optional<report::AllTestsResults> m_lastRun;
    QDateTime m_measuredAt; // when the latest figure was measured
    QPointer<HistoryWindow> m_historyWindow;
    QPointer<ContextWindow> m_contextWindow;
};
