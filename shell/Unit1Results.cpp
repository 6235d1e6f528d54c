// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands on its results beyond the pages: File > Keep
// results, Benchmarks > History and In context.
#include "Unit1.h"

#include "Unit1Ui.h"

#include "ResultsCommands.h"

#include "controls/Busy.h"
#include "report/ContextRows.h"

#include <exception>

void TForm1::bindResultCommands()
{
    // Keep results follows Save results, above the separator before Exit.
    const QList<QAction*> fileItems = m_ui->N1->actions();
    QAction* afterSave = fileItems.value(fileItems.indexOf(m_ui->N6) + 1);
    m_resultsCommands = std::make_unique<ResultsCommands>(*m_ui->N1, afterSave, *m_ui->N7);
    bindAction(m_resultsCommands->keepAction(), &TForm1::KeepResultsClick);
    bindAction(m_resultsCommands->historyAction(), &TForm1::HistoryClick);
    bindAction(m_resultsCommands->contextAction(), &TForm1::ContextClick);
}

void TForm1::KeepResultsClick()
{
    const QString path = m_resultsCommands->keep(*m_session);
    m_ui->StatusBar1->showMessage(QStringLiteral("Results kept in ") + path);
}

void TForm1::HistoryClick()
{
    m_resultsCommands->showHistory(this);
}

void TForm1::ContextClick()
{
    m_resultsCommands->showContext(this, [this] { return measureContext(); });
}

std::optional<report::Insight> TForm1::measureContext()
{
    std::optional<report::Insight> insight;
    runCommand([&] {
        beginBusy();
        try {
            insight = report::MeasureWindowContext(m_services.insight, *m_session);
        } catch (const std::exception& error) {
            // The window says so in its place, as the report does.
            insight = report::NotMeasured(QString::fromUtf8(error.what()));
        }
        busy::End(m_ui->StatusBar1);
    });
    return insight;
}
