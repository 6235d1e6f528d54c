// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/Statistics.h"

#include <algorithm>
#include <cmath>

namespace report {

FigureStatistics Summarise(const QList<std::int32_t>& runs)
{
    QList<std::int64_t> sorted(runs.begin(), runs.end());
    std::sort(sorted.begin(), sorted.end());
    const qsizetype n = sorted.size();
    FigureStatistics stats;
    if (n == 0)
        return stats;
    stats.min = static_cast<std::int32_t>(sorted.front());
    stats.max = static_cast<std::int32_t>(sorted.back());
    stats.median = static_cast<std::int32_t>(n % 2 != 0 ? sorted[n / 2]
                                                        : (sorted[n / 2 - 1] + sorted[n / 2]) / 2);
    double mean = 0;
    for (const std::int64_t value : sorted)
        mean += static_cast<double>(value);
    mean /= static_cast<double>(n);
    if (n < 2 || mean == 0)
        return stats;
    double squares = 0;
    for (const std::int64_t value : sorted)
        squares += (static_cast<double>(value) - mean) * (static_cast<double>(value) - mean);
    stats.cv = 100.0 * std::sqrt(squares / static_cast<double>(n - 1)) / std::abs(mean);
    return stats;
}

AllTestsResults MedianResults(const QList<AllTestsResults>& runs)
{
    if (runs.isEmpty())
        return {};
    AllTestsResults result = runs.front();
    for (const NamedFigure& figure : AllFigures(result))
        figure.set(result, Summarise(FigureRuns(runs, figure)).median);
    for (const AllTestsResults& run : runs)
        result.videoBackingStore = result.videoBackingStore || run.videoBackingStore;
    return result;
}

QList<std::int32_t> FigureRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure)
{
    QList<std::int32_t> values;
    for (const AllTestsResults& run : runs)
        values << figure.pick(run);
    return values;
}

} // namespace report
