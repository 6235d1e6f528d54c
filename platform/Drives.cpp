// SPDX-License-Identifier: GPL-3.0-or-later
#include "Drives.h"

#include "Files.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <sys/statvfs.h>
#include <system_error>
#include <utility>

namespace platform {
namespace {

// mountinfo writes blank, tab, newline and backslash as \ooo octal escapes.
std::string unescape(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::optional<MountEntry> parseLine(const std::string& line)
{
    std::istringstream in(line);
    std::string id, parent, devices, root, mountPoint, field;
    if (!(in >> id >> parent >> devices >> root >> mountPoint))
        return std::nullopt;
    while (in >> field && field != "-") {
    } // options and optional fields
    MountEntry entry;
    if (field != "-" || !(in >> entry.fsType >> entry.source))
        return std::nullopt;
    int consumed = 0;
    if (std::sscanf(devices.c_str(), "%u:%u%n", &entry.major, &entry.minor, &consumed) != 2 ||
        static_cast<std::size_t>(consumed) != devices.size())
        return std::nullopt;
    entry.root = unescape(root);
    entry.mountPoint = unescape(mountPoint);
    entry.source = unescape(entry.source);
    return entry;
}

namespace fs = std::filesystem;

// The sysfs directory of a block device, found by its numbers, or else by the
// mount source (btrfs and FUSE report an anonymous 0:n device there).
std::optional<fs::path> blockDirectory(const fs::path& root, const MountEntry& mount)
{
    std::error_code error;
    const fs::path byNumber =
        root / "sys/dev/block" / (std::to_string(mount.major) + ":" + std::to_string(mount.minor));
    if (mount.major != 0 && fs::exists(byNumber, error))
        return fs::canonical(byNumber, error);
    if (!mount.source.starts_with("/dev/"))
        return std::nullopt;
    const std::string name = fs::path(mount.source).filename().string();
    if (mount.source.starts_with("/dev/mapper/")) {
        for (const auto& dm : ListEntries(root / "sys/class/block", "dm-"))
            if (ReadAttribute(root / "sys/class/block" / dm / "dm/name") == name)
                return fs::canonical(root / "sys/class/block" / dm, error);
        return std::nullopt;
    }
    const fs::path byName = root / "sys/class/block" / name;
    if (name.empty() || !fs::exists(byName, error))
        return std::nullopt;
    return fs::canonical(byName, error);
}

bool isFixedDisk(const fs::path& device)
{
    std::error_code error;
    // A partition's removable flag lives on its disk, one level up.
    const fs::path disk = fs::exists(device / "partition", error) ? device.parent_path() : device;
    const std::string name = disk.filename().string();
    for (const char* virtualDisk : {"loop", "zram", "ram"})
        if (name.starts_with(virtualDisk))
            return false;
    return ReadAttribute(disk / "removable") != "1";
}

// A bind mount of a single file (as containers receive /etc/resolv.conf) is
// no drive. Asked last: a stat on an automount point would mount it.
bool isDirectory(const fs::path& root, const MountEntry& mount)
{
    std::error_code error;
    return fs::is_directory(root / fs::path(mount.mountPoint).relative_path(), error);
}

} // namespace

std::vector<MountEntry> ParseMountInfo(const std::string& text)
{
    std::vector<MountEntry> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (auto entry = parseLine(line))
            entries.push_back(std::move(*entry));
    return entries;
}

std::vector<FixedDrive> ListFixedMounts(const fs::path& root)
{
    // Per device, by its sysfs directory: the mount chosen so far, and whether
    // that mount shows the filesystem from its own root.
    std::map<std::string, std::pair<FixedDrive, bool>> chosen;
    const auto text = ReadFileBytes(root / "proc/self/mountinfo");
    for (const MountEntry& mount : ParseMountInfo(text.value_or(std::string()))) {
        const auto device = blockDirectory(root, mount);
        if (!device || device->empty() || !isFixedDisk(*device) || !isDirectory(root, mount))
            continue;
        const bool wholeFilesystem = mount.root == "/";
        FixedDrive drive{mount.mountPoint, device->filename().string(), mount.fsType};
        const auto [it, first] = chosen.try_emplace(device->string(), drive, wholeFilesystem);
        if (!first && wholeFilesystem && !it->second.second)
            it->second = {std::move(drive), true};
    }
    std::vector<FixedDrive> drives;
    for (auto& [device, choice] : chosen)
        drives.push_back(std::move(choice.first));
    std::sort(drives.begin(), drives.end(),
              [](const FixedDrive& a, const FixedDrive& b) { return a.mountPoint < b.mountPoint; });
    return drives;
}

namespace {

// Whether `path` is `mountPoint` or lies below it.
bool holds(const std::string& mountPoint, const std::string& path)
{
    if (mountPoint == "/")
        return path.starts_with('/');
    return path == mountPoint || (path.starts_with(mountPoint) && path.size() > mountPoint.size() &&
                                  path[mountPoint.size()] == '/');
}

} // namespace

std::optional<MountEntry> MountHolding(const fs::path& root, const std::string& path)
{
    const auto text = ReadFileBytes(root / "proc/self/mountinfo");
    if (!text)
        return std::nullopt;
    std::optional<MountEntry> found;
    for (MountEntry& mount : ParseMountInfo(*text))
        if (holds(mount.mountPoint, path) &&
            (!found || mount.mountPoint.size() >= found->mountPoint.size()))
            found = std::move(mount);
    return found;
}

bool IsNetworkFilesystem(const std::string& fsType)
{
    static const std::set<std::string> network{
        "nfs",        "nfs4",        "cifs",           "smb3",      "smbfs", "ncpfs",
        "9p",         "afs",         "ceph",           "glusterfs", "gfs2",  "lustre",
        "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "fuse.s3fs"};
    return network.contains(fsType);
}

bool IsKernelFilesystem(const std::string& fsType)
{
    static const std::set<std::string> kernel{
        "proc",        "sysfs",    "cgroup",    "cgroup2",    "devpts", "securityfs", "debugfs",
        "tracefs",     "configfs", "pstore",    "bpf",        "mqueue", "fusectl",    "autofs",
        "binfmt_misc", "efivarfs", "selinuxfs", "rpc_pipefs", "nsfs",   "hugetlbfs"};
    return kernel.contains(fsType);
}

std::optional<DriveSpace> QueryDriveSpace(const std::string& path)
{
    struct statvfs info
    {
    };
    if (statvfs(path.c_str(), &info) != 0)
        return std::nullopt;
    return DriveSpace{static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize,
                      static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize};
}

} // namespace platform
