// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the EDID reader as a monitor's edid file, and
// checks what must hold for any block:
//  - a name is 1 to 13 printable ASCII characters without outer blanks;
//  - only the base block counts: bytes after the first 128 change nothing;
//  - a valid block with a valid maker code always gives a name.
// An even first byte makes the rest a valid base block (the fixed header
// written in, the checksum mended), so that the descriptors are reached.

#include "platform/Edid.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void MakeBaseBlock(std::string& edid)
{
    if (edid.size() < 128)
        edid.resize(128, '\0');
    const unsigned char header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    edid.replace(0, 8, reinterpret_cast<const char*>(header), 8);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 127; ++i)
        sum += static_cast<unsigned char>(edid[i]);
    edid[127] = static_cast<char>((256 - sum % 256) % 256);
}

// Bytes 8-9 hold three letters of five bits each, 1 = 'A' to 26 = 'Z'.
bool HasMakerCode(const std::string& edid)
{
    const unsigned packed =
        (static_cast<unsigned char>(edid[8]) << 8) | static_cast<unsigned char>(edid[9]);
    for (const int shift : {10, 5, 0}) {
        const unsigned letter = (packed >> shift) & 0x1F;
        if (letter < 1 || letter > 26)
            return false;
    }
    return true;
}

void CheckName(const std::string& name)
{
    Check(!name.empty() && name.size() <= 13);
    Check(name.front() != ' ' && name.back() != ' ');
    for (const char c : name)
        Check(c >= 0x20 && c < 0x7F);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string edid(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0)
        MakeBaseBlock(edid);
    const auto name = platform::MonitorNameFromEdid(edid);
    if (name)
        CheckName(*name);
    if (edid.size() > 128)
        Check(platform::MonitorNameFromEdid(std::string_view(edid).substr(0, 128)) == name);
    if (data[0] % 2 == 0 && HasMakerCode(edid))
        Check(name.has_value()); // a valid block always has a name
    return 0;
}
