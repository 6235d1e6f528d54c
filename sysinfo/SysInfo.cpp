// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfo.h"

#include "platform/Clock.h"
#include "platform/Priority.h"

#include <cstring>
#include <vector>

namespace sysinfo {
namespace {

constexpr std::uint32_t kBrandFirstLeaf = 0x80000002;
constexpr std::uint32_t kBrandLastLeaf = 0x80000004;

struct NameRow
{
    const char* vendor;
    int family;
    std::vector<int> models;
    const char* name;
};

const std::vector<NameRow>& nameTable()
{
    static const std::vector<NameRow> table = {
        {"GenuineIntel", 5, {0, 1, 2, 7}, "Intel Pentium"},
        {"GenuineIntel", 5, {4, 8}, "Intel Pentium MMX"},
        {"GenuineIntel", 6, {1}, "Pentium Pro"},
        {"GenuineIntel", 6, {3}, "Intel Pentium II"},
        {"GenuineIntel", 6, {4, 5}, "Intel Celeron"},
        {"GenuineIntel", 6, {6}, "Intel Celeron(A)"},
        {"GenuineIntel", 6, {7}, "Intel Pentium III"},
        {"GenuineIntel", 6, {8}, "Intel Celeron(SSE)"},
        {"AuthenticAMD", 5, {0, 1, 2, 3}, "AMD K5"},
        {"AuthenticAMD", 5, {6, 7}, "AMD K6"},
        {"AuthenticAMD", 5, {8}, "AMD K6-2"},
        {"AuthenticAMD", 5, {9}, "AMD K6-III"},
        {"AuthenticAMD", 6, {1, 2, 4}, "AMD Athlon"},
        {"AuthenticAMD", 6, {3}, "AMD Duron"},
    };
    return table;
}

QString vendorText(const TProcessorInfo& info)
{
    return QString::fromLatin1(info.Vendor.data(), static_cast<qsizetype>(info.Vendor.size()));
}

QString fallbackName(const TProcessorInfo& info, int family, int model)
{
    return QStringLiteral("%1 family %2 model %3")
        .arg(vendorText(info), QString::number(family), QString::number(model));
}

QString tableName(const TProcessorInfo& info)
{
    for (const NameRow& row : nameTable()) {
        if (row.family != info.Family ||
            std::memcmp(row.vendor, info.Vendor.data(), info.Vendor.size()) != 0)
            continue;
        for (int model : row.models)
            if (model == info.Model)
                return QString::fromLatin1(row.name);
    }
    return fallbackName(info, info.Family, info.Model);
}

std::uint32_t extendedFamily(const TProcessorInfo& info)
{
    return (info.Signature >> 20) & 0xFF;
}

std::uint32_t extendedModel(const TProcessorInfo& info)
{
    return (info.Signature >> 16) & 0xF;
}

// Newer processors the table was never meant for: name them by what they
// say of themselves, or by their full family and model.
QString modernName(const TProcessorInfo& info, const ProcessorSource& source)
{
    const QString brand = ProcessorBrandString(source);
    if (!brand.isEmpty())
        return brand;
    int family = info.Family;
    int model = info.Model;
    if (info.Family == 15)
        family += static_cast<int>(extendedFamily(info));
    if (info.Family == 6 || info.Family == 15)
        model += static_cast<int>(extendedModel(info) << 4);
    return fallbackName(info, family, model);
}

} // namespace

CounterSource::CounterSource()
    : sleep(platform::SleepMilliseconds), milliseconds(platform::PreciseMilliseconds)
{
}

TProcessorInfo GetProcessorInfo(const ProcessorSource& source)
{
    TProcessorInfo info;
    switch (source.processorType()) {
    case 386:
        info.Family = 3;
        break;
    case 486:
        info.Family = 4;
        break;
    case 586: {
        info.Signature = source.cpuid(1).eax;
        const platform::CpuidResult leaf0 = source.cpuid(0);
        std::memcpy(info.Vendor.data(), &leaf0.ebx, 4);
        std::memcpy(info.Vendor.data() + 4, &leaf0.edx, 4);
        std::memcpy(info.Vendor.data() + 8, &leaf0.ecx, 4);
        info.Family = static_cast<std::int32_t>((info.Signature & 0xF00) >> 8);
        info.Model = static_cast<std::int32_t>((info.Signature & 0xF0) >> 4);
        break;
    }
    default:
        break; // an unknown type: nothing is known of it
    }
    return info;
}

QString ProcessorBrandString(const ProcessorSource& source)
{
    if (source.cpuid(0x80000000).eax < kBrandLastLeaf)
        return {};
    char brand[49] = {};
    for (std::uint32_t leaf = kBrandFirstLeaf; leaf <= kBrandLastLeaf; ++leaf) {
        const platform::CpuidResult r = source.cpuid(leaf);
        char* part = brand + (leaf - kBrandFirstLeaf) * 16;
        std::memcpy(part, &r.eax, 4);
        std::memcpy(part + 4, &r.ebx, 4);
        std::memcpy(part + 8, &r.ecx, 4);
        std::memcpy(part + 12, &r.edx, 4);
    }
    return QString::fromLatin1(brand).trimmed();
}

QString GetProcessorName(const ProcessorSource& source)
{
    const TProcessorInfo info = GetProcessorInfo(source);
    if (extendedFamily(info) != 0 || extendedModel(info) != 0 || info.Family == 15)
        return modernName(info, source);
    if (info.Family == 3)
        return QStringLiteral("Intel 386");
    if (info.Family == 4)
        return QStringLiteral("Intel 486");
    if (info.Family >= 5 && info.Family <= 9)
        return tableName(info);
    return {};
}

std::uint32_t GetProcessorSpeed(const ProcessorSource& source, const CounterSource& counter)
{
    if (GetProcessorInfo(source).Family < 5)
        return 0;
    std::uint64_t t0 = 0;
    std::uint64_t t1 = 0;
    double elapsedMs = 0;
    {
        const platform::TimeCriticalBracket bracket;
        counter.sleep(10);
        // The clock readings enclose the counter's: a preemption between
        // them lengthens the interval, so the rate can only err low.
        const double startMs = counter.milliseconds();
        t0 = counter.readCounter();
        counter.sleep(1000);
        t1 = counter.readCounter();
        elapsedMs = counter.milliseconds() - startMs;
    }
    // A sleep wakes late on a busy machine: the advance is divided by the
    // time that really passed, not by the second asked for. The whole 64-bit
    // advance counts: today's clocks pass 2^32 ticks a second.
    if (t1 <= t0 || !(elapsedMs > 0))
        return 0;
    return static_cast<std::uint32_t>(static_cast<double>(t1 - t0) / (elapsedMs * 1000.0));
}

} // namespace sysinfo
