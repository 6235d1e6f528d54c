#pragma once

#include <cstdint>

class ComparisonDatabase;

namespace bench {

// The reference machine from section DATA of base.ini; the main window reads
// them afresh at every activation. 0 stands for a missing or unreadable key.
inline std::int32_t PIIMultCPU = 0; // CpuTest count of the reference machine
inline std::int32_t PIIMultFPU = 0; // FpuTest count of the reference machine
inline std::int32_t PIIFreq = 0;    // the score the reference machine gets

// Reads the three values from section DATA; missing keys read as 0.
void LoadScaling(const ComparisonDatabase& database);

} // namespace bench
