// The command table of the main window, and the page handlers: each one
// announces itself so the dispatch can be observed.
#include "Unit1.h"

#include "ui_Unit1.h"

#include "bench/ProcessorPage.h"
#include "controls/Busy.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
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
        m_editor->exec();
        FormActivate(); // the focus comes back to the main window
    }
}

void TForm1::ToolButton1Click()
{
    setPages(0, -1);
    FormActivate();
}

void TForm1::ToolButton2Click()
{
    FormActivate();
    setPages(1, 4);
    Button2Click();
}

void TForm1::ToolButton5Click()
{
    setPages(1, 0);
    Button1Click();
}

void TForm1::ToolButton6Click()
{
    setPages(1, 1);
    Button3Click();
}

void TForm1::ToolButton7Click()
{
    setPages(1, 2);
    Button5Click();
}

void TForm1::ToolButton9Click()
{
    setPages(1, 3);
    Button4Click();
}

void TForm1::ToolButton3Click()
{
    if (m_about != nullptr) {
        m_about->exec();
        FormActivate();
    }
}

void TForm1::N3Click()
{
    close();
}

void TForm1::N16Click()
{
    openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("doc/help.htm"))));
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
    announce(QStringLiteral("Button1Click"));
    if (!m_services.runPageHandlers)
        return;
    // Not a scope guard: a refresh that fails leaves the busy state showing
    // until the next refresh finishes.
    busy::Begin(m_ui->StatusBar1);
    bench::RefreshProcessorPage(*m_ui->MyChart1, *m_database, m_benchState,
                                m_services.processorKernels);
    busy::End(m_ui->StatusBar1);
}

void TForm1::Button3Click()
{
    announce(QStringLiteral("Button3Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::Button5Click()
{
    announce(QStringLiteral("Button5Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::UpdateVideoChart()
{
    announce(QStringLiteral("UpdateVideoChart"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::Button4Click()
{
    announce(QStringLiteral("Button4Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::Button2Click()
{
    announce(QStringLiteral("Button2Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::Button6Click()
{
    announce(QStringLiteral("Button6Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::RadioButton1Click()
{
    announce(QStringLiteral("RadioButton1Click"));
    if (!m_services.runPageHandlers)
        return;
}

void TForm1::announce(const QString& name)
{
    emit handlerRan(name);
}
