// SPDX-License-Identifier: GPL-3.0-or-later
// The "All tests" page: the run on this window's session, and saving its log.
#include "Unit1.h"

#include "ResultsCommands.h"

#include "Unit1Ui.h"

#include "Dialogs.h"
#include "VideoSurface.h"

#include "bench/BenchError.h"
#include "controls/Busy.h"
#include "session/FullRun.h"
#include "session/SaveLog.h"

// What the run asks of this window: its busy frame, which also sees a close
// delivered by a pass over events, the drive list and the test surface.
class TForm1::FullRunWindow : public report::FullRunView
{
public:
    explicit FullRunWindow(TForm1& form) : m_form(form), m_ui(*form.m_ui) {}

    // The cleared log is painted before the tests block the thread.
    void logCleared() override
    {
        busy::ProcessPendingEvents();
        m_form.throwIfClosed();
    }
    void testBegins(const report::RunTest& /*test*/) override { m_form.beginBusy(); }
    // Once the window has closed the run writes nothing more.
    void testEnded(const report::RunTest& /*test*/) override
    {
        busy::End(m_ui.StatusBar1);
        m_form.throwIfClosed();
    }

    // A selection from code is no change of drive: it runs nothing itself.
    void showDrive(int index) override
    {
        m_ui.ComboBox1->setCurrentIndex(index);
        m_form.m_driveChanged = false;
    }
    bench::TestSurface* testSurface() override
    {
        if (!m_form.m_testSurface)
            throw bench::BenchError("There is no test surface to measure on");
        return m_form.m_testSurface.get();
    }

private:
    TForm1& m_form;
    Form1Ui& m_ui;
};

void TForm1::Button2Click()
{
    FullRunWindow view(*this);
    const report::AllTestsResults run = report::RunAllTests(*m_session, view);
    m_resultsCommands->allTestsRan(*m_session, run);
}

void TForm1::Button6Click()
{
    const QString fileName = Dialogs::GetSaveFileName(
        this, {QStringLiteral("Сохранить результаты"), QStringLiteral("Testlog"),
               QStringLiteral("Текстовый файл (*.txt);;Все файлы (*.*)"), QStringLiteral("txt")});
    if (!fileName.isEmpty())
        report::SaveLog(fileName, m_session->log());
}
