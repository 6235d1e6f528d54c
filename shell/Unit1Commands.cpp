// The command table of the main window, and the page handlers.
#include "Unit1.h"

#include "ui_Unit1.h"

#include "Dialogs.h"
#include "Locations.h"

#include "VideoSurface.h"

#include "bench/BenchError.h"
#include "controls/Busy.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QScopedValueRollback>

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
    openUrl(
        QUrl::fromLocalFile(LocateHelpDocument(QDir::currentPath(), CurrentProgramDirs().dataDir)));
}

void TForm1::WebSiteItemClick()
{
    openUrl(QUrl(WebSiteAddress));
}

void TForm1::openUrl(const QUrl& url)
{
    // Neither a missing document nor a failed navigation is reported.
    if (m_services.openUrl)
        m_services.openUrl(url);
    else
        QDesktopServices::openUrl(url);
}

void TForm1::Button1Click()
{
    // Not a scope guard: a refresh that fails leaves the busy state showing
    // until the next refresh finishes.
    busy::Begin(m_ui->StatusBar1);
    m_services.pages->RefreshProcessor(*m_ui->MyChart1, *m_database, m_benchState);
    busy::End(m_ui->StatusBar1);
}

// Reruns the mode of the selected radio button.
void TForm1::Button3Click()
{
    RadioButton1Click(m_ui->RadioButton1->isChecked() ? m_ui->RadioButton1 : m_ui->RadioButton2);
}

// The sender's tag is the mode; any other tag only shows the busy state.
void TForm1::RadioButton1Click(const QObject* sender)
{
    busy::Begin(m_ui->StatusBar1);
    const int tag = sender != nullptr ? sender->property("tag").toInt() : 0;
    m_services.pages->RefreshMemory(*m_ui->MyChart2, *m_database, static_cast<MemoryMode>(tag));
    busy::End(m_ui->StatusBar1);
}

void TForm1::UpdateVideoChart()
{
    m_services.pages->UpdateVideoChart(*m_ui->MyChart4, *m_database);
}

void TForm1::Button5Click()
{
    busy::Begin(m_ui->StatusBar1);
    if (!m_testSurface)
        throw bench::BenchError("There is no test surface to measure on");
    m_services.pages->RefreshVideo(*m_ui->MyChart4, *m_database, *m_testSurface);
    busy::End(m_ui->StatusBar1);
}

void TForm1::Button4Click()
{
    busy::Begin(m_ui->StatusBar1);
    m_services.pages->RefreshDrive(*m_ui->MyChart3, *m_database, selectedMountPoint());
    busy::End(m_ui->StatusBar1);
}

// The drive item keeps its real mount point, bytes as the system gave them;
// an item without it names the mount point after "Drive ".
QByteArray TForm1::selectedMountPoint() const
{
    const QComboBox* drives = m_ui->ComboBox1;
    if (drives->currentIndex() < 0)
        return QByteArray();
    const QVariant path = drives->currentData();
    if (path.isValid())
        return path.typeId() == QMetaType::QByteArray ? path.toByteArray()
                                                      : QFile::encodeName(path.toString());
    return QFile::encodeName(drives->currentText().mid(QStringLiteral("Drive ").size()));
}
