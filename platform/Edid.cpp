// SPDX-License-Identifier: GPL-3.0-or-later
#include "Edid.h"

#include "Files.h"

#include <cstdint>
#include <cstdio>

namespace platform {
namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kDescriptorsStart = 54;
constexpr std::size_t kDescriptorSize = 18;
constexpr unsigned char kMonitorNameTag = 0xFC;

std::uint8_t byteAt(std::string_view edid, std::size_t offset)
{
    return static_cast<std::uint8_t>(edid[offset]);
}

bool isValidBaseBlock(std::string_view edid)
{
    static constexpr unsigned char header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() < kBlockSize)
        return false;
    for (std::size_t i = 0; i < sizeof header; ++i)
        if (byteAt(edid, i) != header[i])
            return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        sum += byteAt(edid, i);
    return sum % 256 == 0;
}

// The text of a monitor-name display descriptor: up to 13 characters, ended
// by a line feed and padded with blanks.
std::optional<std::string> nameDescriptor(std::string_view edid)
{
    for (std::size_t d = kDescriptorsStart; d + kDescriptorSize <= kBlockSize;
         d += kDescriptorSize) {
        const bool display =
            byteAt(edid, d) == 0 && byteAt(edid, d + 1) == 0 && byteAt(edid, d + 2) == 0;
        if (!display || byteAt(edid, d + 3) != kMonitorNameTag)
            continue;
        std::string text;
        for (std::size_t i = d + 5; i < d + kDescriptorSize && byteAt(edid, i) != 0x0A; ++i) {
            const auto c = byteAt(edid, i);
            text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
        }
        std::string name = Trim(text);
        if (!name.empty())
            return name;
    }
    return std::nullopt;
}

// Three letters packed five bits each (1 = 'A') into bytes 8-9, big-endian,
// then the product code, little-endian, in hex.
std::optional<std::string> makerAndProduct(std::string_view edid)
{
    const unsigned packed = (byteAt(edid, 8) << 8) | byteAt(edid, 9);
    std::string text;
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (packed >> shift) & 0x1F;
        if (letter < 1 || letter > 26)
            return std::nullopt;
        text += static_cast<char>('A' + letter - 1);
    }
    char product[5];
    std::snprintf(product, sizeof product, "%04X", (byteAt(edid, 11) << 8) | byteAt(edid, 10));
    return text + product;
}

} // namespace

std::optional<std::string> MonitorNameFromEdid(std::string_view edid)
{
    if (!isValidBaseBlock(edid))
        return std::nullopt;
    if (auto name = nameDescriptor(edid))
        return name;
    return makerAndProduct(edid);
}

} // namespace platform
