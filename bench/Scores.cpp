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

namespace {

// A missing reference whose file could not be read says why.
std::int32_t ScaleByReference(std::int32_t count, std::int32_t referenceCount,
                              const ReferenceMachine& reference, const char* referenceName)
{
    if (referenceCount <= 0 && !reference.problem.isEmpty()) {
        throw BenchError(std::string(referenceName) +
                         " is missing or 0 in base.ini: " + reference.problem.toStdString());
    }
    return ScaleCount(count, referenceCount, reference.PIIFreq, referenceName);
}

} // namespace

std::int32_t CpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleByReference(count, reference.PIIMultCPU, reference, "PIIMultCPU");
}

std::int32_t FpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleByReference(count, reference.PIIMultFPU, reference, "PIIMultFPU");
}

} // namespace bench
