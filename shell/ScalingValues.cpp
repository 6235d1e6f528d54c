#include "ScalingValues.h"

#include "database/ComparisonDatabase.h"

ScalingValues ReadScalingValues(const ComparisonDatabase& database)
{
    const QString section = QStringLiteral("DATA");
    ScalingValues values;
    values.PIIMultCPU = database.ReadNumber(section, QStringLiteral("PIIMultCPU"), 0);
    values.PIIMultFPU = database.ReadNumber(section, QStringLiteral("PIIMultFPU"), 0);
    values.PIIFreq = database.ReadNumber(section, QStringLiteral("PIIFreq"), 0);
    return values;
}

ScalingValues& ProgramScaling()
{
    static ScalingValues values;
    return values;
}
