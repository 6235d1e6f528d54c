// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

// What the hardware database knows of a device, by modalias; empty texts for
// what it does not know.
struct HardwareName
{
    std::string vendor;
    std::string model;
};

using HardwareNameLookup = std::function<HardwareName(const std::string& modalias)>;

// The udev hardware database (hwdb.bin) through libudev. Opened once per
// object; an object whose database did not open knows nothing.
class UdevHardwareDatabase
{
public:
    UdevHardwareDatabase();
    ~UdevHardwareDatabase();
    UdevHardwareDatabase(const UdevHardwareDatabase&) = delete;
    UdevHardwareDatabase& operator=(const UdevHardwareDatabase&) = delete;

    bool IsOpen() const;
    HardwareName Lookup(const std::string& modalias) const;

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
};

} // namespace platform
