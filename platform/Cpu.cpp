// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cpu.h"

#include <cpuid.h>
#include <x86intrin.h>

namespace platform {

CpuidResult Cpuid(std::uint32_t leaf)
{
    CpuidResult r;
    __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

std::uint64_t ReadTimeStampCounter()
{
    return __rdtsc();
}

int ProcessorType()
{
    return 586;
}

} // namespace platform
