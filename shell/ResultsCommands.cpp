// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultsCommands.h"

#include "ContextWindow.h"
#include "HistoryWindow.h"

#include "report/KeptResults.h"
#include "results/ResultStore.h"
#include "session/SaveLog.h"
#include "session/Session.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

namespace {

// A window made at its planned size fits a small or highly scaled screen.
void fitToScreen(QWidget* window, const QWidget* owner)
{
    const QScreen* screen = owner != nullptr ? owner->screen() : nullptr;
    if (screen != nullptr)
        window->resize(window->size().boundedTo(screen->availableGeometry().size() * 9 / 10));
}

} // namespace

ResultsCommands::ResultsCommands(QMenu& file, QAction* before, QMenu& benchmarks)
    : m_keep(new QAction(QStringLiteral("&Keep results"), &file)),
      m_history(new QAction(QStringLiteral("&History..."), &benchmarks)),
      m_context(new QAction(QStringLiteral("In &context..."), &benchmarks))
{
    m_keep->setObjectName(QStringLiteral("KeepResultsItem"));
    m_keep->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    m_keep->setEnabled(false);
    file.insertAction(before, m_keep);
    m_history->setObjectName(QStringLiteral("HistoryItem"));
    m_history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    benchmarks.addSeparator();
    benchmarks.addAction(m_history);
    m_context->setObjectName(QStringLiteral("ContextItem"));
    m_context->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    benchmarks.addAction(m_context);
}

ResultsCommands::~ResultsCommands()
{
    delete m_historyWindow.data();
    delete m_contextWindow.data();
}

void ResultsCommands::resultsChanged(const report::Session& session)
{
    if (!report::HasMeasured(report::LatestResults(session, m_lastRun)))
        return;
    m_measuredAt = QDateTime::currentDateTimeUtc();
    m_keep->setEnabled(true);
}

void ResultsCommands::allTestsRan(const report::Session& session,
                                  const report::AllTestsResults& run)
{
    m_lastRun = run;
    resultsChanged(session);
}

QString ResultsCommands::keep(const report::Session& session)
{
    const report::AllTestsResults run = report::LatestResults(session, m_lastRun);
    const QString path = report::KeepResults(report::ResultsDirectory(), session, run, m_measuredAt,
                                             report::ReadKeptEnvironment());
    m_keep->setEnabled(false);
    if (m_historyWindow != nullptr && m_historyWindow->isVisible())
        m_historyWindow->showDirectory(report::ResultsDirectory());
    return path;
}

void ResultsCommands::showHistory(QWidget* owner)
{
    if (m_historyWindow == nullptr) {
        m_historyWindow = new HistoryWindow(owner);
        m_historyWindow->setObjectName(QStringLiteral("HistoryWindow"));
        fitToScreen(m_historyWindow, owner);
    }
    m_historyWindow->showDirectory(report::ResultsDirectory());
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void ResultsCommands::showContext(QWidget* owner,
                                  const std::function<std::optional<report::Insight>()>& measure)
{
    if (m_contextWindow == nullptr) {
        m_contextWindow = new ContextWindow(measure, owner);
        m_contextWindow->setObjectName(QStringLiteral("ContextWindow"));
        fitToScreen(m_contextWindow, owner);
    }
    m_contextWindow->show();
    m_contextWindow->raise();
    m_contextWindow->activateWindow();
}
