// SPDX-License-Identifier: GPL-3.0-or-later
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

// Written values are quoted up to this many characters.
constexpr qsizetype kLongestQuotedValue = 40;

// A missing reference whose file could not be read says why; one that is
// written but no count from 1 up (negative, beyond 32 bits, not a number)
// says what is wrong with it.
std::int32_t ScaleByReference(std::int32_t count, std::int32_t referenceCount,
                              const ReferenceMachine& reference, const char* referenceName,
                              const QString& written)
{
    if (referenceCount <= 0 && !reference.problem.isEmpty()) {
        throw BenchError(std::string(referenceName) +
                         " is missing or 0 in base.ini: " + reference.problem.toStdString());
    }
    const std::string name(referenceName);
    if (referenceCount < 0)
        throw BenchError(name + " in base.ini is negative: " + std::to_string(referenceCount));
    if (referenceCount == 0 && !written.isEmpty() && written != QStringLiteral("0")) {
        QString shown = written.left(kLongestQuotedValue).replace(QChar(0), u' ');
        if (written.size() > kLongestQuotedValue)
            shown += QStringLiteral("...");
        throw BenchError(name + " in base.ini is no whole number from 1 to 2147483647: '" +
                         shown.toStdString() + "'");
    }
    return ScaleCount(count, referenceCount, reference.PIIFreq, referenceName);
}

} // namespace

std::int32_t CpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleByReference(count, reference.PIIMultCPU, reference, "PIIMultCPU",
                            reference.cpuText);
}

std::int32_t FpuScore(std::int32_t count, const ReferenceMachine& reference)
{
    return ScaleByReference(count, reference.PIIMultFPU, reference, "PIIMultFPU",
                            reference.fpuText);
}

} // namespace bench
