// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// A sysfs capability bitmap ("capabilities/key" and the like): blank-separated
// hex words of the kernel's long (64 bits on x86-64), most significant word
// first.
class InputBitmap
{
public:
    InputBitmap() = default;
    static InputBitmap Parse(std::string_view text);
    bool Test(unsigned bit) const;

private:
    std::vector<std::uint64_t> m_words; // least significant word first
};

struct InputCapabilities
{
    InputBitmap rel;
    InputBitmap key;
    InputBitmap abs;
    InputBitmap properties;
};

// A mouse (relative X/Y with a mouse button, or absolute X/Y with a mouse
// button as virtual machines' tablets report) or a touchpad (absolute X/Y
// with a finger tool and not a touch screen, or the pointer property).
bool IsPointingDevice(const InputCapabilities& caps);

} // namespace platform
