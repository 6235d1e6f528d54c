// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorLink.h"

#include "ErrorReport.h"
#include "Unit1.h"

TForm3Services EditorServices(TForm1& form)
{
    TForm3Services services;
    services.database = &form.database();
    services.machineValues = [&form] { return form.session().machineValues(); };
    services.runGuarded = RunGuarded;
    return services;
}
