// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

// Physical memory as the overview shows it: the total in bytes and how much
// of it is in use, in whole percent.
struct MemoryStatus
{
    std::uint64_t totalPhys = 0;
    std::uint32_t memoryLoad = 0;
};

// Reads <root>/proc/meminfo. Load = 100 x (MemTotal - MemAvailable) / MemTotal,
// truncated; kernels without MemAvailable count MemFree + Buffers + Cached as
// available. An unreadable file gives zeros.
MemoryStatus ReadMemoryStatus(const std::filesystem::path& root);

} // namespace platform
