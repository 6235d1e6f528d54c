// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One line of /proc/self/mountinfo, escapes (\040 for a blank) undone.
struct MountEntry
{
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// Parses mountinfo text; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(const std::string& text);

// A fixed drive: a locally mounted filesystem on a non-removable block device.
struct FixedDrive
{
    std::string mountPoint; // the path as it is, control characters included
    std::string device;     // kernel name of the whole disk or partition, e.g. "sda2"
    std::string fsType{};   // "ext4"
};

// The fixed drives from <root>/proc/self/mountinfo, judged by <root>/sys:
// filesystems without a block device (tmpfs, overlay, proc...), loop, zram and
// ram disks and removable disks are left out, and so is every mount point that
// is not a directory under <root> (a bind-mounted file in a container). A
// device mounted more than once (bind mounts, btrfs subvolumes) is listed
// once: at its first mount of the filesystem's own root ("/"), else at its
// first mount. Sorted by mount point.
std::vector<FixedDrive> ListFixedMounts(const std::filesystem::path& root);

// The mount under <root> that holds `path` (absolute, without symbolic links
// or ".."): the one with the longest mount point that contains it, the last
// listed of those (it lies on top). Nothing when mountinfo cannot be read.
std::optional<MountEntry> MountHolding(const std::filesystem::path& root, const std::string& path);

// Filesystems whose files live on another machine (nfs, cifs, sshfs ...).
bool IsNetworkFilesystem(const std::string& fsType);
// Filesystems that show the kernel's state and hold no files of their own
// (proc, sysfs, cgroup ...).
bool IsKernelFilesystem(const std::string& fsType);

// Sizes of the filesystem holding a path.
struct DriveSpace
{
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0; // to the calling user
};

// statvfs: total = f_blocks x f_frsize, available = f_bavail x f_frsize.
std::optional<DriveSpace> QueryDriveSpace(const std::string& path);

} // namespace platform
