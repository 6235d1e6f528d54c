// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo/SysInfo.h"

#include <cstring>
#include <map>
#include <string>

// A processor that answers CPUID from a table: what a test says it is.
struct FakeProcessor
{
    int type = 586;
    std::string vendor = "GenuineIntel";
    std::uint32_t signature = 0;
    std::string brand; // empty: no brand-string leaves

    sysinfo::ProcessorSource Source() const
    {
        std::map<std::uint32_t, platform::CpuidResult> leaves;
        platform::CpuidResult leaf0;
        leaf0.eax = 1;
        std::string text = vendor;
        text.resize(12, '\0');
        std::memcpy(&leaf0.ebx, text.data(), 4);
        std::memcpy(&leaf0.edx, text.data() + 4, 4);
        std::memcpy(&leaf0.ecx, text.data() + 8, 4);
        leaves[0] = leaf0;
        leaves[1].eax = signature;
        leaves[0x80000000].eax = brand.empty() ? 0x80000001 : 0x80000004;
        std::string padded = brand;
        padded.resize(48, '\0');
        for (std::uint32_t i = 0; i < 3 && !brand.empty(); ++i) {
            platform::CpuidResult r;
            std::memcpy(&r.eax, padded.data() + i * 16, 4);
            std::memcpy(&r.ebx, padded.data() + i * 16 + 4, 4);
            std::memcpy(&r.ecx, padded.data() + i * 16 + 8, 4);
            std::memcpy(&r.edx, padded.data() + i * 16 + 12, 4);
            leaves[0x80000002 + i] = r;
        }
        sysinfo::ProcessorSource source;
        source.processorType = [t = type] { return t; };
        source.cpuid = [leaves](std::uint32_t leaf) {
            const auto it = leaves.find(leaf);
            return it == leaves.end() ? platform::CpuidResult{} : it->second;
        };
        return source;
    }
};

// A classic signature: family and model in their 4-bit fields.
inline std::uint32_t Signature(int family, int model, int extFamily = 0, int extModel = 0)
{
    return std::uint32_t(extFamily) << 20 | std::uint32_t(extModel) << 16 |
           std::uint32_t(family) << 8 | std::uint32_t(model) << 4 | 1; // stepping 1
}
