// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace platform {

// The logical CPUs this process may run on, in ascending order; at least one
// entry (CPU 0 when the mask cannot be read).
std::vector<int> UsableCpus();

// Binds the calling thread to one logical CPU; false when refused.
bool PinCurrentThread(int cpu);

// Processor time the calling thread has used, in milliseconds.
double ThreadCpuMilliseconds();

} // namespace platform
