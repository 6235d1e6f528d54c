// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace platform {

struct CpuidResult
{
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// Executes CPUID for the given leaf (sub-leaf 0).
CpuidResult Cpuid(std::uint32_t leaf);

// Reads the processor's time-stamp counter.
std::uint64_t ReadTimeStampCounter();

// Processor type as the system reports it: 386, 486 or 586. Every x86-64
// processor is of the Pentium class, so this is always 586.
int ProcessorType();

} // namespace platform
