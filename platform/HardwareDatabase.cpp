// SPDX-License-Identifier: GPL-3.0-or-later
#include "HardwareDatabase.h"

#include <libudev.h>

#include <cstring>

namespace platform {

struct UdevHardwareDatabase::Handles
{
    udev* context = nullptr;
    udev_hwdb* hwdb = nullptr;
};

UdevHardwareDatabase::UdevHardwareDatabase() : m_handles(std::make_unique<Handles>())
{
    m_handles->context = udev_new();
    if (m_handles->context)
        m_handles->hwdb = udev_hwdb_new(m_handles->context);
}

UdevHardwareDatabase::~UdevHardwareDatabase()
{
    if (m_handles->hwdb)
        udev_hwdb_unref(m_handles->hwdb);
    if (m_handles->context)
        udev_unref(m_handles->context);
}

bool UdevHardwareDatabase::IsOpen() const
{
    return m_handles->hwdb != nullptr;
}

HardwareName UdevHardwareDatabase::Lookup(const std::string& modalias) const
{
    HardwareName name;
    if (!m_handles->hwdb)
        return name;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(
        entry, udev_hwdb_get_properties_list_entry(m_handles->hwdb, modalias.c_str(), 0))
    {
        const char* key = udev_list_entry_get_name(entry);
        const char* value = udev_list_entry_get_value(entry);
        if (!key || !value)
            continue;
        if (std::strcmp(key, "ID_VENDOR_FROM_DATABASE") == 0)
            name.vendor = value;
        else if (std::strcmp(key, "ID_MODEL_FROM_DATABASE") == 0)
            name.model = value;
    }
    return name;
}

} // namespace platform
