// SPDX-License-Identifier: GPL-3.0-or-later
#include "Caches.h"

#include "Files.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>
#include <tuple>

namespace platform {
namespace {

bool readNumber(std::string_view text, std::uint64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && rest == end;
}

struct Instances
{
    std::uint64_t sizeBytes = 0;
    int sharedBy = 0;
    std::set<std::string> cpuLists;
};

} // namespace

std::uint64_t ParseCacheSize(const std::string& text)
{
    std::string_view digits = text;
    std::uint64_t unit = 1;
    if (!digits.empty() && (digits.back() == 'K' || digits.back() == 'M' || digits.back() == 'G')) {
        unit = digits.back() == 'K'   ? 1024
               : digits.back() == 'M' ? 1024 * 1024
                                      : 1024 * 1024 * 1024;
        digits.remove_suffix(1);
    }
    std::uint64_t value = 0;
    if (digits.empty() || !readNumber(digits, value))
        return 0;
    return value * unit;
}

int CountCpuList(const std::string& text)
{
    int count = 0;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view range = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const std::size_t dash = range.find('-');
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        if (!readNumber(range.substr(0, dash), first))
            return 0;
        last = first;
        if (dash != std::string_view::npos && !readNumber(range.substr(dash + 1), last))
            return 0;
        if (last < first)
            return 0;
        count += static_cast<int>(last - first + 1);
    }
    return count;
}

std::vector<CacheLevel> ReadCaches(const std::filesystem::path& root)
{
    const std::filesystem::path cpus = root / "sys/devices/system/cpu";
    std::map<std::tuple<int, std::string>, Instances> found;
    for (const std::string& cpu : ListEntries(cpus, "cpu")) {
        if (cpu.size() < 4 || !std::isdigit(static_cast<unsigned char>(cpu[3])))
            continue; // cpufreq, cpuidle
        const std::filesystem::path caches = cpus / cpu / "cache";
        for (const std::string& index : ListEntries(caches, "index")) {
            const std::filesystem::path dir = caches / index;
            std::uint64_t level = 0;
            const std::uint64_t size = ParseCacheSize(ReadAttribute(dir / "size"));
            const std::string cpuList = ReadAttribute(dir / "shared_cpu_list");
            if (!readNumber(ReadAttribute(dir / "level"), level) || size == 0)
                continue;
            Instances& kind = found[{static_cast<int>(level), ReadAttribute(dir / "type")}];
            kind.sizeBytes = std::max(kind.sizeBytes, size);
            kind.sharedBy = std::max(kind.sharedBy, std::max(1, CountCpuList(cpuList)));
            kind.cpuLists.insert(cpuList);
        }
    }
    std::vector<CacheLevel> levels;
    for (const auto& [key, kind] : found)
        levels.push_back({std::get<0>(key), std::get<1>(key), kind.sizeBytes, kind.sharedBy,
                          static_cast<int>(kind.cpuLists.size())});
    return levels;
}

std::vector<CacheLevel> DataCaches(const std::vector<CacheLevel>& caches)
{
    std::vector<CacheLevel> data;
    std::copy_if(caches.begin(), caches.end(), std::back_inserter(data),
                 [](const CacheLevel& cache) { return cache.type != "Instruction"; });
    return data;
}

} // namespace platform
