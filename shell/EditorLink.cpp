#include "EditorLink.h"

#include "ErrorReport.h"
#include "Unit1.h"
#include "ui_Unit1.h"

namespace {

OwnBars OwnBarsOf(const TMyChart& chart)
{
    return {chart.Bars.Count, chart.Bars.Items[0].Value, chart.Bars.Items[1].Value};
}

} // namespace

MachineValues TForm1::machineValues() const
{
    const Ui::TForm1& ui = *m_ui;
    return {ui.Edit1->text(),        ui.Edit2->text(),
            ui.Edit3->text(),        ui.ComboBox1->currentText(),
            OwnBarsOf(*ui.MyChart1), OwnBarsOf(*ui.MyChart2),
            OwnBarsOf(*ui.MyChart4), OwnBarsOf(*ui.MyChart3)};
}

TForm3Services EditorServices(TForm1& form)
{
    TForm3Services services;
    services.database = &form.database();
    services.machineValues = [&form] { return form.machineValues(); };
    services.runGuarded = RunGuarded;
    return services;
}
