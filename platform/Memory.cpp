// SPDX-License-Identifier: GPL-3.0-or-later
#include "Memory.h"

#include "Files.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace platform {
namespace {

// A size in bytes from the amount and unit of a meminfo line; nothing for
// what cannot be a size: a negative number, more bytes than a signed 64-bit
// count holds, an unknown unit, or text that is not a whole number.
std::optional<std::uint64_t> sizeInBytes(const std::string& amount, const std::string& unit)
{
    std::int64_t value = 0;
    const char* end = amount.data() + amount.size();
    const auto [stop, error] = std::from_chars(amount.data(), end, value);
    if (error != std::errc() || stop != end || value < 0)
        return std::nullopt;
    if (unit.empty())
        return static_cast<std::uint64_t>(value);
    if (unit != "kB" || value > std::numeric_limits<std::int64_t>::max() / 1024)
        return std::nullopt;
    return static_cast<std::uint64_t>(value) * 1024;
}

// The "Key:   12345 kB" lines of meminfo, in bytes. A line whose amount is
// not a size is left out, as if the key were missing.
std::map<std::string, std::uint64_t> readMeminfo(const std::filesystem::path& path)
{
    std::map<std::string, std::uint64_t> values;
    std::istringstream in(ReadFileBytes(path).value_or(std::string()));
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream rest(line.substr(colon + 1));
        std::string amount, unit;
        rest >> amount >> unit;
        if (const auto bytes = sizeInBytes(amount, unit))
            values[line.substr(0, colon)] = *bytes;
    }
    return values;
}

std::uint64_t valueOf(const std::map<std::string, std::uint64_t>& values, const char* key)
{
    const auto it = values.find(key);
    return it == values.end() ? 0 : it->second;
}

} // namespace

MemoryStatus ReadMemoryStatus(const std::filesystem::path& root)
{
    const auto values = readMeminfo(root / "proc/meminfo");
    MemoryStatus status;
    status.totalPhys = valueOf(values, "MemTotal");
    std::uint64_t available = valueOf(values, "MemAvailable");
    if (!values.contains("MemAvailable")) {
        // Each part is below 2^63, the sum of three may not be: it saturates.
        const unsigned __int128 sum = static_cast<unsigned __int128>(valueOf(values, "MemFree")) +
                                      valueOf(values, "Buffers") + valueOf(values, "Cached");
        available = static_cast<std::uint64_t>(
            std::min<unsigned __int128>(sum, std::numeric_limits<std::uint64_t>::max()));
    }
    if (status.totalPhys > 0) {
        const std::uint64_t used = available < status.totalPhys ? status.totalPhys - available : 0;
        // 128 bits: used x 100 leaves 64 bits above 160 PiB.
        status.memoryLoad = static_cast<std::uint32_t>(static_cast<unsigned __int128>(used) * 100 /
                                                       status.totalPhys);
    }
    return status;
}

} // namespace platform
