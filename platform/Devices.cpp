// SPDX-License-Identifier: GPL-3.0-or-later
#include "Devices.h"

#include "Edid.h"
#include "Files.h"
#include "InputCapabilities.h"

#include <cctype>

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDisplayClassPrefix = "0x03";

// "0x8086" -> "8086"
std::string hexId(const fs::path& file)
{
    std::string id = ReadAttribute(file);
    if (id.starts_with("0x") || id.starts_with("0X"))
        id.erase(0, 2);
    for (char& c : id)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return id;
}

std::string displayName(const fs::path& device, const HardwareNameLookup& lookup)
{
    const std::string modalias = ReadAttribute(device / "modalias");
    const HardwareName name = modalias.empty() ? HardwareName{} : lookup(modalias);
    if (name.model.empty())
        return hexId(device / "vendor") + ":" + hexId(device / "device");
    return name.vendor.empty() ? name.model : name.vendor + " " + name.model;
}

InputCapabilities readCapabilities(const fs::path& input)
{
    return {InputBitmap::Parse(ReadAttribute(input / "capabilities/rel")),
            InputBitmap::Parse(ReadAttribute(input / "capabilities/key")),
            InputBitmap::Parse(ReadAttribute(input / "capabilities/abs")),
            InputBitmap::Parse(ReadAttribute(input / "properties"))};
}

} // namespace

std::vector<std::string> ListDisplayAdapters(const fs::path& root, const HardwareNameLookup& lookup)
{
    std::vector<std::string> names;
    const fs::path devices = root / "sys/bus/pci/devices";
    for (const auto& entry : ListEntries(devices, ""))
        if (ReadAttribute(devices / entry / "class").starts_with(kDisplayClassPrefix))
            names.push_back(displayName(devices / entry, lookup));
    return names;
}

std::vector<std::string> ListDisplayAdapters(const fs::path& root)
{
    const UdevHardwareDatabase hwdb;
    return ListDisplayAdapters(
        root, [&hwdb](const std::string& modalias) { return hwdb.Lookup(modalias); });
}

std::vector<std::string> ListMonitors(const fs::path& root)
{
    std::vector<std::string> names;
    const fs::path drm = root / "sys/class/drm";
    for (const auto& entry : ListEntries(drm, "card")) {
        if (entry.find('-') == std::string::npos ||
            ReadAttribute(drm / entry / "status") != "connected")
            continue;
        if (auto name = MonitorNameFromEdid(ReadFileBytes(drm / entry / "edid").value_or("")))
            names.push_back(std::move(*name));
    }
    return names;
}

std::vector<std::string> ListCdromDrives(const fs::path& root)
{
    std::vector<std::string> names;
    const fs::path block = root / "sys/class/block";
    for (const auto& entry : ListEntries(block, "sr")) {
        const std::string name = Trim(ReadAttribute(block / entry / "device/vendor") + " " +
                                      ReadAttribute(block / entry / "device/model"));
        names.push_back(name.empty() ? entry : name);
    }
    return names;
}

std::vector<std::string> ListPointingDevices(const fs::path& root)
{
    std::vector<std::string> names;
    const fs::path input = root / "sys/class/input";
    for (const auto& entry : ListEntries(input, "input")) {
        if (!IsPointingDevice(readCapabilities(input / entry)))
            continue;
        // A device without a name would be an empty entry in the list.
        std::string name = ReadAttribute(input / entry / "name");
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace platform
