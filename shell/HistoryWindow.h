// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/History.h"

#include <QWidget>

#include <memory>

namespace Ui {
class HistoryWindow;
}

// Kept and saved results over time: a line plot a figure, the results in a
// table beneath, and the verdicts of two rows chosen.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryWindow(QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the results kept in `directory` afresh, with the files opened.
    void showDirectory(const QString& directory);
    // Adds result files to those shown.
    void addFiles(const QStringList& files);
    const report::History& history() const { return m_history; }

private:
    void openFiles();
    void showHistory();
    void fillPlots();
    void fillTable();
    void compareChosen();

    std::unique_ptr<Ui::HistoryWindow> m_ui;
    report::History m_history;
    QStringList m_opened; // files the user opened, shown beside the kept ones
};
