// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Environment.h"

#include "bench/ReferenceMachine.h"
#include "platform/Files.h"
#include "platform/PublishedTick.h"
#include "sysinfo/SysInfo.h"

namespace report {
namespace {

std::optional<double> loadAverage(const std::filesystem::path& root)
{
    const std::string text = platform::ReadAttribute(root / "proc/loadavg");
    bool ok = false;
    const double value = QString::fromStdString(text).section(QLatin1Char(' '), 0, 0).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<QString> governor(const std::filesystem::path& root)
{
    const std::string text =
        platform::ReadAttribute(root / "sys/devices/system/cpu/cpu0/cpufreq/scaling_governor");
    return text.empty() ? std::nullopt : std::optional<QString>(QString::fromStdString(text));
}

bool timerPublishesTick()
{
    const platform::PublishedTickCount tick;
    return tick.published();
}

} // namespace

RunEnvironment ReadEnvironment(const EnvironmentSources& sources)
{
    RunEnvironment environment;
    sysinfo::ProcessorSource processor;
    processor.cpuid = sources.cpuid;
    environment.processor = sysinfo::ProcessorBrandString(processor);
    environment.hypervisor = (sources.cpuid(1).ecx & (1u << 31)) != 0;
    environment.governor = governor(sources.root);
    environment.loadAverage = loadAverage(sources.root);
    environment.publishedTick =
        sources.tickPublished ? sources.tickPublished() : timerPublishesTick();
    return environment;
}

platform::ObtainedPriority ReadObtainedPriority(const EnvironmentSources& sources)
{
    return sources.lastPriority ? sources.lastPriority() : platform::LastObtainedPriority();
}

QString PriorityName(platform::ObtainedPriority priority)
{
    switch (priority) {
    case platform::ObtainedPriority::RealTime:
        return QStringLiteral("real-time");
    case platform::ObtainedPriority::Nice:
        return QStringLiteral("nice -20");
    case platform::ObtainedPriority::Neither:
        break;
    }
    return QStringLiteral("neither");
}

QStringList EnvironmentWarnings(const RunEnvironment& environment)
{
    QStringList warnings;
    if (environment.hypervisor)
        warnings << QStringLiteral("running under a hypervisor: the figures vary with the host's "
                                   "load");
    if (environment.governor && *environment.governor != QLatin1String("performance"))
        warnings << QStringLiteral("the frequency governor is \"%1\", not \"performance\": the "
                                   "clock may change during the tests")
                        .arg(*environment.governor);
    if (environment.loadAverage && *environment.loadAverage > kQuietLoadAverage)
        warnings << QStringLiteral("the load average was %1 at the start (above %2): other work "
                                   "shares the processor")
                        .arg(*environment.loadAverage, 0, 'f', 2)
                        .arg(kQuietLoadAverage, 0, 'f', 1);
    if (!environment.publishedTick)
        warnings << QStringLiteral("the processor kernels read the clock instead of the "
                                   "published tick: their counts are lower");
    return warnings;
}

QString PriorityWarning(platform::ObtainedPriority priority, bool realTimeLimited)
{
    if (realTimeLimited && priority == platform::ObtainedPriority::Nice)
        return QStringLiteral("the measurements ran at nice -20, not real-time: the real-time "
                              "CPU-time limit (RLIMIT_RTTIME) is too short for them");
    if (realTimeLimited && priority == platform::ObtainedPriority::Neither)
        return QStringLiteral("the measurements ran at normal priority: the real-time CPU-time "
                              "limit (RLIMIT_RTTIME) is too short for them, and nice -20 was not "
                              "permitted");
    if (priority != platform::ObtainedPriority::Neither)
        return {};
    return QStringLiteral("the measurements ran at normal priority: neither real-time nor nice "
                          "-20 was permitted");
}

QStringList MissingReferenceKeys(const bench::ReferenceMachine& reference)
{
    QStringList keys;
    if (reference.PIIMultCPU <= 0)
        keys << QStringLiteral("PIIMultCPU");
    if (reference.PIIMultFPU <= 0)
        keys << QStringLiteral("PIIMultFPU");
    if (reference.PIIFreq == 0)
        keys << QStringLiteral("PIIFreq");
    return keys;
}

} // namespace report
