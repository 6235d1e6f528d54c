// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

class ComparisonDatabase;

namespace bench {

// The reference machine from section DATA of base.ini. 0 stands for a
// missing or unreadable key.
struct ReferenceMachine
{
    std::int32_t PIIMultCPU = 0; // CpuTest count of the reference machine
    std::int32_t PIIMultFPU = 0; // FpuTest count of the reference machine
    std::int32_t PIIFreq = 0;    // the score the reference machine gets
    // Why base.ini could not be read, when it is there but unreadable.
    QString problem;
    // PIIMultCPU and PIIMultFPU as written, for the error of a value that is
    // there but no usable count; empty when missing.
    QString cpuText;
    QString fpuText;
};

// Reads the three values from section DATA; missing keys read as 0.
ReferenceMachine LoadScaling(const ComparisonDatabase& database);

} // namespace bench
