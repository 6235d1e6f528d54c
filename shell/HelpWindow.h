// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTextBrowser;

// The help document in a window of the program's own, for a desktop that
// cannot open it (no browser, no desktop at all). Not modal: the main window
// stays in use beside it.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the HTML file at `path` and brings the window up.
    void showDocument(const QString& path);

private:
    QTextBrowser* m_browser;
};
