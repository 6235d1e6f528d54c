// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceMachine.h"

#include <cstdint>

namespace bench {

// reference × count ÷ referenceCount in 80-bit extended, the division first,
// truncated toward zero. Throws BenchError when the reference count is 0 or
// below ("<name> is missing or 0 in base.ini") or the score leaves the 32-bit range.
std::int32_t ScaleCount(std::int32_t count, std::int32_t referenceCount,
                        std::int32_t referenceScore, const char* referenceName);

// The processor page's scores, from PIIMultCPU / PIIMultFPU and PIIFreq.
std::int32_t CpuScore(std::int32_t count, const ReferenceMachine& reference);
std::int32_t FpuScore(std::int32_t count, const ReferenceMachine& reference);

} // namespace bench
