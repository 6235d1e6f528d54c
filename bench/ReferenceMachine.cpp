// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ReferenceMachine.h"

#include "database/ComparisonDatabase.h"

namespace bench {

ReferenceMachine LoadScaling(const ComparisonDatabase& database)
{
    const QString section = QStringLiteral("DATA");
    ReferenceMachine machine;
    machine.PIIMultCPU = database.ReadNumber(section, QStringLiteral("PIIMultCPU"), 0);
    machine.PIIMultFPU = database.ReadNumber(section, QStringLiteral("PIIMultFPU"), 0);
    machine.PIIFreq = database.ReadNumber(section, QStringLiteral("PIIFreq"), 0);
    machine.problem = database.ReadProblem();
    machine.cpuText = database.ReadText(section, QStringLiteral("PIIMultCPU"), QString()).trimmed();
    machine.fpuText = database.ReadText(section, QStringLiteral("PIIMultFPU"), QString()).trimmed();
    return machine;
}

} // namespace bench
