// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the mountinfo parser as /proc/self/mountinfo, and
// checks what must hold for any text:
//  - lines are independent: the entries of the whole text are the entries of
//    its lines, one after another;
//  - no line gives more than one entry.

#include "platform/Drives.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Same(const platform::MountEntry& a, const platform::MountEntry& b)
{
    return a.major == b.major && a.minor == b.minor && a.root == b.root &&
           a.mountPoint == b.mountPoint && a.fsType == b.fsType && a.source == b.source;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<platform::MountEntry> entries = platform::ParseMountInfo(text);
    std::size_t next = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const auto own = platform::ParseMountInfo(text.substr(start, end - start));
        Check(own.size() <= 1);
        for (const platform::MountEntry& entry : own) {
            Check(next < entries.size() && Same(entries[next], entry));
            ++next;
        }
        start = end + 1;
    }
    Check(next == entries.size());
    return 0;
}
