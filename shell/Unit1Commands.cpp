// SPDX-License-Identifier: GPL-3.0-or-later
// The command table of the main window, and the page handlers.
#include "Unit1.h"

#include "Unit1Ui.h"

#include "Dialogs.h"
#include "HelpWindow.h"
#include "Locations.h"

#include "VideoSurface.h"

#include "bench/BenchError.h"
#include "controls/Busy.h"
#include "session/ResultsLog.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QStatusBar>

void TForm1::setPages(int outer, int inner)
{
    const QScopedValueRollback guard(m_settingPages, true);
    m_ui->PageControl1->setCurrentIndex(outer);
    if (inner >= 0)
        m_ui->PageControl2->setCurrentIndex(inner);
}

void TForm1::ToolButton10Click()
{
    if (m_editor != nullptr) {
        Dialogs::ExecModal(m_editor);
        FormActivate(); // the focus comes back to the main window
    }
}

void TForm1::ToolButton1Click()
{
    setPages(0, -1);
    FormActivate();
}

// A benchmark command shows its page and refreshes it, also when the chart
// holds bars already.
void TForm1::showPageAndRefresh(int page)
{
    setPages(1, page);
    (this->*m_pages[std::size_t(page)].refresh)();
}

void TForm1::ToolButton2Click()
{
    FormActivate();
    showPageAndRefresh(4);
}

void TForm1::ToolButton5Click()
{
    showPageAndRefresh(0);
}

void TForm1::ToolButton6Click()
{
    showPageAndRefresh(1);
}

void TForm1::ToolButton7Click()
{
    showPageAndRefresh(2);
}

void TForm1::ToolButton9Click()
{
    showPageAndRefresh(3);
}

void TForm1::ToolButton3Click()
{
    if (m_about != nullptr) {
        Dialogs::ExecModal(m_about);
        FormActivate();
    }
}

void TForm1::N3Click()
{
    close();
}

void TForm1::N16Click()
{
    const QString current = QDir::currentPath();
    const QString dataDir = CurrentProgramDirs().dataDir;
    const QString help = LocateHelpDocument(current, dataDir);
    if (!QFileInfo(help).isFile()) {
        Dialogs::ShowError(QStringLiteral("The help document was not found. Looked for:\n%1")
                               .arg(HelpDocumentPlaces(current, dataDir).join(u'\n')));
        return;
    }
    // Where the desktop cannot open it, the program shows it itself.
    if (openUrl(QUrl::fromLocalFile(help)))
        return;
    if (m_help == nullptr)
        m_help = new HelpWindow(this);
    m_help->showDocument(help);
}

void TForm1::WebSiteItemClick()
{
    openUrl(QUrl(WebSiteAddress));
}

bool TForm1::openUrl(const QUrl& url)
{
    return m_services.openUrl ? m_services.openUrl(url) : QDesktopServices::openUrl(url);
}

// busy::Begin, whose pass over events may deliver the window's close.
void TForm1::beginBusy()
{
    // A message such as where results were kept would hide the busy text.
    m_ui->StatusBar1->clearMessage();
    busy::Begin(m_ui->StatusBar1);
    throwIfClosed();
}

void TForm1::Button1Click()
{
    // Not a scope guard: a refresh that fails leaves the busy state showing
    // until the next refresh finishes.
    beginBusy();
    m_session->runProcessor();
    busy::End(m_ui->StatusBar1);
}

// Reruns the memory page in its mode.
void TForm1::Button3Click()
{
    RadioButton1Click(m_session->memoryMode());
}

void TForm1::RadioButton1Click(bench::MemoryMode mode)
{
    beginBusy();
    m_session->setMemoryMode(mode);
    m_session->runMemory();
    busy::End(m_ui->StatusBar1);
}

// A figure filled into a backing store (a Wayland or offscreen platform)
// measures raster painting: its bar's caption says so, and the chart's tool
// tip says why.
void TForm1::showVideoFillNote()
{
    m_ui->MyChart4->setToolTip(m_session->videoFromBackingStore() ? report::BackingStoreNote
                                                                  : QString());
}

void TForm1::UpdateVideoChart()
{
    m_session->showVideoRows();
}

void TForm1::Button5Click()
{
    beginBusy();
    if (!m_testSurface)
        throw bench::BenchError("There is no test surface to measure on");
    m_session->runVideo(*m_testSurface);
    busy::End(m_ui->StatusBar1);
}

void TForm1::Button4Click()
{
    beginBusy();
    m_session->runDrive();
    busy::End(m_ui->StatusBar1);
}
