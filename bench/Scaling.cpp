#include "bench/Scaling.h"

#include "database/ComparisonDatabase.h"

namespace bench {

void LoadScaling(const ComparisonDatabase& database)
{
    const QString section = QStringLiteral("DATA");
    PIIMultCPU = database.ReadNumber(section, QStringLiteral("PIIMultCPU"), 0);
    PIIMultFPU = database.ReadNumber(section, QStringLiteral("PIIMultFPU"), 0);
    PIIFreq = database.ReadNumber(section, QStringLiteral("PIIFreq"), 0);
}

} // namespace bench
