// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// One kind of cache of the machine: all instances of a level and type.
struct CacheLevel
{
    int level = 0;
    std::string type;            // "Data", "Instruction" or "Unified"
    std::uint64_t sizeBytes = 0; // of one instance
    int sharedBy = 0;            // logical CPUs sharing one instance
    int instances = 0;           // distinct instances across the machine

    bool operator==(const CacheLevel&) const = default;
};

// Size of a sysfs cache size text ("32K", "1M", "512"); 0 when unreadable.
std::uint64_t ParseCacheSize(const std::string& text);

// Logical CPUs in a CPU list ("0-3,8,10-11"); 0 when unreadable.
int CountCpuList(const std::string& text);

// The caches under root/sys/devices/system/cpu/cpu*/cache/index*, ordered by
// level, then type; empty where the system does not publish them.
std::vector<CacheLevel> ReadCaches(const std::filesystem::path& root = "/");

// The caches a data block goes through: data and unified ones, by level.
std::vector<CacheLevel> DataCaches(const std::vector<CacheLevel>& caches);

} // namespace platform
