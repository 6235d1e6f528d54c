// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Cpu.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace sysinfo {

// The processor's identity. Family and Model are the 4-bit fields of the
// CPUID signature (3 or 4 and 0 for processors reported as 386 or 486);
// Signature is the whole leaf-1 EAX, 0 where CPUID was not asked.
struct TProcessorInfo
{
    std::int32_t Family = 0;
    std::int32_t Model = 0;
    std::array<char, 12> Vendor{};
    std::uint32_t Signature = 0;
};

// Where the identity comes from: the processor itself, or a test's stand-in.
struct ProcessorSource
{
    std::function<int()> processorType = platform::ProcessorType;
    std::function<platform::CpuidResult(std::uint32_t)> cpuid = platform::Cpuid;
};

// The time-stamp counter, the sleep the clock measurement uses, and the
// monotonic clock (milliseconds) that times the sleep.
struct CounterSource
{
    std::function<std::uint64_t()> readCounter = platform::ReadTimeStampCounter;
    std::function<void(unsigned)> sleep;
    std::function<double()> milliseconds;
    CounterSource();
};

TProcessorInfo GetProcessorInfo(const ProcessorSource& source = {});

// The table name for the classic processors; the brand string for processors
// with extended family or model fields, or family 15; possibly empty.
QString GetProcessorName(const ProcessorSource& source = {});

// Whole MHz: the time-stamp counter's advance over a one-second sleep at
// time-critical priority, divided by the time the sleep really took; 0 at
// once for processors reported as 386 or 486.
std::uint32_t GetProcessorSpeed(const ProcessorSource& source = {},
                                const CounterSource& counter = {});

// The processor's brand string (CPUID 0x80000002..4), blanks trimmed; empty
// where the processor has none.
QString ProcessorBrandString(const ProcessorSource& source = {});

} // namespace sysinfo
