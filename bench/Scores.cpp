#include "bench/Scores.h"

#include "bench/BenchError.h"

#include <cmath>
#include <limits>
#include <string>

namespace bench {

std::int32_t ScaleCount(std::int32_t count, std::int32_t referenceCount,
                        std::int32_t referenceScore, const char* referenceName)
{
    // A negative count would draw a blank own bar as if measured.
    if (referenceCount <= 0)
        throw BenchError(std::string(referenceName) + " is missing or 0 in base.ini");
    long double score = static_cast<long double>(count) / referenceCount;
    score *= referenceScore;
    score = std::trunc(score);
    // Only an absurd DATA section gets here (a tiny reference count or a huge
    // PIIFreq); a clamped bar would pass off a made-up figure as measured.
    if (score < std::numeric_limits<std::int32_t>::min() ||
        score > std::numeric_limits<std::int32_t>::max()) {
        throw BenchError("The score does not fit in 32 bits: check " + std::string(referenceName) +
                         " and PIIFreq in base.ini");
    }
    return static_cast<std::int32_t>(score);
}

std::int32_t CpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleCount(count, reference.PIIMultCPU, reference.PIIFreq, "PIIMultCPU");
}

std::int32_t FpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleCount(count, reference.PIIMultFPU, reference.PIIFreq, "PIIMultFPU");
}

} // namespace bench
