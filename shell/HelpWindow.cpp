// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvix help"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Links to the web go to the desktop; the document's own stay here.
    m_browser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(560, 480);
}

void HelpWindow::showDocument(const QString& path)
{
    m_browser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}
