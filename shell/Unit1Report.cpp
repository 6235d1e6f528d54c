// The "All tests" page: the run through this window's page handlers, and
// saving its log.
#include "Unit1.h"

#include "ui_Unit1.h"

#include "Dialogs.h"

#include "controls/Busy.h"
#include "report/AllTests.h"
#include "report/SaveLog.h"

#include <QSignalBlocker>
#include <QTextBlock>

namespace {

std::int32_t ownBar(const TMyChart* chart, int index = 0)
{
    return chart->Bars.Count > index ? chart->Bars.Items[index].Value : 0;
}

} // namespace

// The run's steps are this window's handlers and controls; its log is Memo1.
class TForm1::AllTestsPages : public report::AllTestsSteps, public report::LogSink
{
public:
    explicit AllTestsPages(TForm1& form) : m_form(form), m_ui(*form.m_ui) {}

    report::OverviewTexts overviewTexts() override
    {
        return {m_ui.Edit1->text(), m_ui.Edit2->text(), m_ui.Edit3->text(),  m_ui.Edit8->text(),
                m_ui.Edit4->text(), m_ui.Edit9->text(), m_ui.Edit10->text(), m_ui.Edit5->text(),
                m_ui.Edit6->text(), m_ui.Edit7->text()};
    }

    report::ProcessorFigures runProcessor() override
    {
        m_form.Button1Click();
        const bench::BenchState& state = m_form.m_benchState;
        return {ownBar(m_ui.MyChart1), state.LastCpuCount, ownBar(m_ui.MyChart1, 1),
                state.LastFpuCount};
    }

    void runMemory() override { m_form.Button3Click(); }
    bool comparativeModeSelected() override { return m_ui.RadioButton1->isChecked(); }
    // Selecting the button from code runs its test, as a click would, but
    // as a step of the run: its error ends the run instead of being shown
    // by the button's own handler while the run goes on.
    void selectComparativeMode() override
    {
        {
            const QSignalBlocker quiet(m_ui.RadioButton1);
            m_ui.RadioButton1->setChecked(true);
        }
        m_form.RadioButton1Click(m_ui.RadioButton1);
    }
    std::int32_t memoryResult() override { return ownBar(m_ui.MyChart2); }

    std::int32_t runVideo() override
    {
        m_form.Button5Click();
        return ownBar(m_ui.MyChart4);
    }

    QStringList driveEntries() override
    {
        QStringList entries;
        for (int i = 0; i < m_ui.ComboBox1->count(); ++i)
            entries << m_ui.ComboBox1->itemText(i);
        return entries;
    }

    // A selection from code is no change of drive: it runs nothing itself.
    QString selectDrive(int index) override
    {
        m_ui.ComboBox1->setCurrentIndex(index);
        m_form.m_driveChanged = false;
        return m_ui.ComboBox1->currentText();
    }

    std::int32_t runDisk() override
    {
        m_form.Button4Click();
        return ownBar(m_ui.MyChart3);
    }

    void clear() override { m_ui.Memo1->clear(); }
    // Once the window has closed the run writes nothing more.
    void append(const QString& line) override
    {
        m_form.throwIfClosed();
        m_ui.Memo1->appendPlainText(line);
    }
    void processPendingEvents() override
    {
        busy::ProcessPendingEvents();
        m_form.throwIfClosed();
    }

private:
    TForm1& m_form;
    Ui::TForm1& m_ui;
};

void TForm1::Button2Click()
{
    AllTestsPages pages(*this);
    report::RunAllTests(pages, pages);
}

void TForm1::Button6Click()
{
    const QString fileName = Dialogs::GetSaveFileName(
        this, {QStringLiteral("Сохранить результаты"), QStringLiteral("Testlog"),
               QStringLiteral("Текстовый файл (*.txt);;Все файлы (*.*)"), QStringLiteral("txt")});
    if (fileName.isEmpty())
        return;
    QStringList lines;
    for (QTextBlock block = m_ui->Memo1->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    report::SaveLog(fileName, lines);
}
