#include "Memory.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace platform {
namespace {

// The "Key:   12345 kB" lines of meminfo, in bytes.
std::map<std::string, std::uint64_t> readMeminfo(const std::filesystem::path& path)
{
    std::map<std::string, std::uint64_t> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream rest(line.substr(colon + 1));
        std::uint64_t amount = 0;
        std::string unit;
        if (!(rest >> amount))
            continue;
        rest >> unit;
        values[line.substr(0, colon)] = unit == "kB" ? amount * 1024 : amount;
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
    if (!values.contains("MemAvailable"))
        available =
            valueOf(values, "MemFree") + valueOf(values, "Buffers") + valueOf(values, "Cached");
    if (status.totalPhys > 0) {
        const std::uint64_t used = available < status.totalPhys ? status.totalPhys - available : 0;
        status.memoryLoad = static_cast<std::uint32_t>(used * 100 / status.totalPhys);
    }
    return status;
}

} // namespace platform
