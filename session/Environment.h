// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Cpu.h"
#include "platform/Priority.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>

namespace bench {
struct ReferenceMachine;
}

namespace report {

// A one-minute load average above this at the start is warned about.
inline constexpr double kQuietLoadAverage = 0.5;

// What the figures of a report run depend on besides the machine itself.
struct RunEnvironment
{
    QString processor;                 // the brand string
    bool hypervisor = false;           // CPUID leaf 1, ECX bit 31
    std::optional<QString> governor;   // cpu0's frequency governor, where there is one
    std::optional<double> loadAverage; // one-minute load average at the start
    platform::ObtainedPriority priority = platform::ObtainedPriority::Neither;
    bool publishedTick = true; // the processor kernels read the published tick
};

// Where the environment is read from; the defaults are this machine.
struct EnvironmentSources
{
    std::filesystem::path root = "/"; // stands for / in /proc and /sys
    std::function<platform::CpuidResult(std::uint32_t)> cpuid = platform::Cpuid;
    std::function<bool()> tickPublished;                      // empty: this process's timer
    std::function<platform::ObtainedPriority()> lastPriority; // empty: the last bracket's
};

// Everything but the priority, which is known once the kernels have run.
RunEnvironment ReadEnvironment(const EnvironmentSources& sources);
platform::ObtainedPriority ReadObtainedPriority(const EnvironmentSources& sources);

// "real-time", "nice -20" or "neither".
QString PriorityName(platform::ObtainedPriority priority);

// What may make the figures differ from a quiet machine's, one sentence
// each; all but the priority, which is known only after the run.
QStringList EnvironmentWarnings(const RunEnvironment& environment);
// The warning for measurements at normal priority, or below real-time because
// RLIMIT_RTTIME left the real-time class out; empty otherwise.
QString PriorityWarning(platform::ObtainedPriority priority, bool realTimeLimited = false);

// The DATA keys that are missing, 0 or unreadable (the processor scores
// need all three).
QStringList MissingReferenceKeys(const bench::ReferenceMachine& reference);

} // namespace report
