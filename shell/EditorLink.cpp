// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorLink.h"

#include "ErrorReport.h"
#include "Unit1.h"

#include "bench/ReferenceMachine.h"
#include "report/AddReference.h"
#include "session/FileNames.h"

TForm3Services EditorServices(TForm1& form)
{
    TForm3Services services;
    services.database = &form.database();
    services.machineValues = [&form] { return form.session().machineValues(); };
    services.runGuarded = RunGuarded;
    services.droppedRows = [&form](const QList<QUrl>& urls, const DatabaseLists& present) {
        QStringList files;
        for (const QUrl& url : urls)
            files << report::LocalFileName(url);
        return report::RowsToAdd(files, present, bench::LoadScaling(form.database()));
    };
    return services;
}
