#pragma once

#include <cstdint>

class ComparisonDatabase;

// The reference machine's constants that the processor scores are normalised
// against: keys PIIMultCPU, PIIMultFPU and PIIFreq of section DATA.
struct ScalingValues
{
    std::int32_t PIIMultCPU = 0;
    std::int32_t PIIMultFPU = 0;
    std::int32_t PIIFreq = 0;
};

// Reads the three values; a missing key reads as 0.
ScalingValues ReadScalingValues(const ComparisonDatabase& database);

// The program-wide copy, reloaded at every activation of the main window.
ScalingValues& ProgramScaling();
