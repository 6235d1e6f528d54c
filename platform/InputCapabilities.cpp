// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputCapabilities.h"

#include <algorithm>
#include <charconv>

namespace platform {
namespace {

// Codes from <linux/input-event-codes.h>.
constexpr unsigned kRelX = 0x00, kRelY = 0x01;
constexpr unsigned kAbsX = 0x00, kAbsY = 0x01;
constexpr unsigned kBtnMouse = 0x110;
constexpr unsigned kBtnToolPen = 0x140, kBtnToolFinger = 0x145, kBtnStylus = 0x14b;
constexpr unsigned kPropPointer = 0x00, kPropDirect = 0x01;

} // namespace

InputBitmap InputBitmap::Parse(std::string_view text)
{
    InputBitmap bitmap;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos)
            break;
        auto end = text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::uint64_t word = 0;
        const auto [ptr, error] = std::from_chars(text.data() + start, text.data() + end, word, 16);
        if (error != std::errc() || ptr != text.data() + end)
            return {}; // not a bitmap: claim nothing
        bitmap.m_words.push_back(word);
        pos = end;
    }
    std::reverse(bitmap.m_words.begin(), bitmap.m_words.end());
    return bitmap;
}

bool InputBitmap::Test(unsigned bit) const
{
    const std::size_t word = bit / 64;
    return word < m_words.size() && (m_words[word] >> (bit % 64) & 1U) != 0;
}

bool IsPointingDevice(const InputCapabilities& caps)
{
    const bool mouseButton = caps.key.Test(kBtnMouse);
    if (caps.rel.Test(kRelX) && caps.rel.Test(kRelY) && mouseButton)
        return true;
    if (!caps.abs.Test(kAbsX) || !caps.abs.Test(kAbsY))
        return false;
    if (caps.key.Test(kBtnToolPen) || caps.key.Test(kBtnStylus))
        return false; // a graphics tablet
    if (caps.properties.Test(kPropPointer))
        return true;
    if (caps.properties.Test(kPropDirect))
        return false; // a touch screen
    return caps.key.Test(kBtnToolFinger) || mouseButton;
}

} // namespace platform
