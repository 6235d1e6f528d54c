// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The disk under a filesystem, as sysfs describes it.
struct BlockDevice
{
    std::string name;  // "nvme0n1", "sda"; the whole disk, not the partition
    std::string model; // device/model trimmed; else "vendor 0x1af4" for a bare PCI function
    std::optional<bool> rotational;
    // What the link to the disk carries at most, bytes per second: a PCIe
    // link's speed times its width less the line coding, 600 MB/s for SATA;
    // none where sysfs does not say.
    std::optional<std::uint64_t> interfaceBytesPerSecond;
};

// The disk of the block device numbered `device` (st_dev of a file on it),
// read under `root` (SystemRoot() or a fixture tree); none for a filesystem
// without a block device (tmpfs, overlay).
std::optional<BlockDevice> BlockDeviceOf(std::uint64_t device, const std::filesystem::path& root);

// The same for the filesystem that holds `path`.
std::optional<BlockDevice> BlockDeviceHolding(const std::string& path);

} // namespace platform
