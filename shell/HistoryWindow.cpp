// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryWindow.h"

#include "ui_HistoryWindow.h"

#include "controls/TimePlot.h"
#include "results/ResultStore.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>

namespace {

const QStringList kColumns{QStringLiteral("Time (UTC)"), QStringLiteral("Version"),
                           QStringLiteral("Warnings"), QStringLiteral("File")};

} // namespace

HistoryWindow::HistoryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::HistoryWindow>())
{
    m_ui->setupUi(this);
    m_ui->ResultTable->setColumnCount(int(kColumns.size()));
    m_ui->ResultTable->setHorizontalHeaderLabels(kColumns);
    m_ui->ResultTable->horizontalHeader()->setStretchLastSection(true);
    m_ui->ResultTable->verticalHeader()->hide();
    // Columns fit the rows in view, not a thousand of them.
    m_ui->ResultTable->horizontalHeader()->setResizeContentsPrecision(0);
    m_ui->VerdictText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The plots take most of the height; the table and the verdicts share the rest.
    m_ui->Splitter->setSizes({330, 110, 110});
    connect(m_ui->OpenButton, &QPushButton::clicked, this, &HistoryWindow::openFiles);
    connect(m_ui->CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_ui->ResultTable, &QTableWidget::itemSelectionChanged, this,
            &HistoryWindow::compareChosen);
    // Keys start in the table: arrows choose a result, Ctrl+A both of two.
    m_ui->ResultTable->setFocus();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::showDirectory(const QString& directory)
{
    m_history = report::LoadHistory(report::KeptResults(directory));
    report::AddToHistory(m_history, m_opened);
    showHistory();
}

void HistoryWindow::addFiles(const QStringList& files)
{
    m_opened << files;
    report::AddToHistory(m_history, files);
    showHistory();
}

void HistoryWindow::openFiles()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Open results"), {}, QStringLiteral("Results (*.json);;All files (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (!files.isEmpty())
        addFiles(files);
}

void HistoryWindow::showHistory()
{
    const bool empty = m_history.results.isEmpty();
    QString said = empty ? report::kNoHistory : QString();
    if (!m_history.unreadable.isEmpty())
        said += (said.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("Left out: ") +
                m_history.unreadable.join(u'\n');
    m_ui->EmptyLabel->setText(said);
    m_ui->EmptyLabel->setVisible(!said.isEmpty());
    m_ui->Splitter->setVisible(!empty);
    fillPlots();
    fillTable();
}

void HistoryWindow::fillPlots()
{
    QLayout* layout = m_ui->PlotLayout;
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const PlotSeries& series : report::HistorySeries(m_history.results)) {
        auto* plot = new TimePlot(m_ui->PlotList);
        plot->setObjectName(QStringLiteral("Plot ") + series.name);
        plot->setSeries(series);
        layout->addWidget(plot);
    }
    m_ui->PlotLayout->addStretch();
}

void HistoryWindow::fillTable()
{
    QTableWidget* table = m_ui->ResultTable;
    table->clearSelection();
    table->setRowCount(int(m_history.results.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const report::HistoryRow cells = report::HistoryRowOf(m_history.results[row]);
        const QStringList texts{cells.time, cells.version, cells.warnings, cells.file};
        for (int column = 0; column < texts.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    table->resizeColumnsToContents();
    // The newest result is where the eye looks first.
    if (table->rowCount() > 0)
        table->scrollToBottom();
}

void HistoryWindow::compareChosen()
{
    const QModelIndexList rows = m_ui->ResultTable->selectionModel()->selectedRows();
    if (rows.size() != 2) {
        m_ui->VerdictText->clear();
        return;
    }
    const QStringList lines =
        report::HistoryVerdicts(m_history.results[rows[0].row()], m_history.results[rows[1].row()]);
    m_ui->VerdictText->setPlainText(lines.join(u'\n'));
}
