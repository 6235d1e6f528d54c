// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContextWindow.h"

#include "ui_ContextWindow.h"

#include "controls/SmallBars.h"
#include "report/ContextRows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>

namespace {

const QStringList kColumns{QStringLiteral("Figure"), QStringLiteral("Value"), QString()};

} // namespace

ContextWindow::ContextWindow(Measure measure, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::ContextWindow>()),
      m_measure(std::move(measure))
{
    m_ui->setupUi(this);
    QTableWidget* table = m_ui->ContextTable;
    table->setColumnCount(int(kColumns.size()));
    table->setHorizontalHeaderLabels(kColumns);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setItemDelegateForColumn(2, new SmallBars(table));
    m_ui->StateLabel->setText(NotYetText);
    m_ui->CopyButton->setEnabled(false);
    connect(m_ui->MeasureButton, &QPushButton::clicked, this, &ContextWindow::measure);
    connect(m_ui->CopyButton, &QPushButton::clicked, this, &ContextWindow::copy);
    connect(m_ui->CloseButton, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

ContextWindow::~ContextWindow() = default;

void ContextWindow::measure()
{
    m_ui->MeasureButton->setEnabled(false);
    const std::optional<report::Insight> insight = m_measure();
    m_ui->MeasureButton->setEnabled(true);
    if (insight)
        showInsight(*insight);
}

void ContextWindow::showInsight(const report::Insight& insight)
{
    m_insight = insight;
    const QList<report::ContextRow> rows = report::ContextRows(insight);
    QTableWidget* table = m_ui->ContextTable;
    table->setRowCount(int(rows.size()));
    for (int i = 0; i < table->rowCount(); ++i) {
        const report::ContextRow& row = rows[i];
        auto* name = new QTableWidgetItem(row.name);
        name->setToolTip(row.group);
        table->setItem(i, 0, name);
        table->setItem(i, 1, new QTableWidgetItem(row.value));
        auto* bar = new QTableWidgetItem;
        if (row.fraction >= 0)
            bar->setData(SmallBars::BarRole, row.fraction);
        table->setItem(i, 2, bar);
    }
    // The sentences: how the memory figure stands, what may be off.
    QStringList said = insight.warnings;
    said.prepend(insight.notMeasured.isEmpty() ? insight.memoryLine : QString());
    said.removeAll(QString());
    m_ui->StateLabel->setText(said.join(u'\n'));
    m_ui->StateLabel->setVisible(!said.isEmpty());
    m_ui->CopyButton->setEnabled(true);
}

QString ContextWindow::text() const
{
    if (!m_insight)
        return {};
    QStringList lines = report::InsightText(*m_insight);
    while (!lines.isEmpty() && lines.front().isEmpty())
        lines.removeFirst();
    return lines.join(u'\n') + u'\n';
}

void ContextWindow::copy()
{
    QGuiApplication::clipboard()->setText(text());
}
