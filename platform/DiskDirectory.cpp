// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskDirectory.h"

#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::optional<dev_t> deviceOf(const std::string& path)
{
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return info.st_dev;
}

// Write and search permission for the effective user; a read-only
// filesystem refuses as well.
bool mayCreateIn(const std::string& directory)
{
    return faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string withSeparator(std::string directory)
{
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

} // namespace

bool SameFilesystem(const std::string& first, const std::string& second)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev;
}

std::optional<std::string> DiskTestDirectory(const std::string& mountPoint,
                                             const std::vector<std::string>& candidates)
{
    const auto device = deviceOf(mountPoint);
    if (!device)
        return std::nullopt;
    if (mayCreateIn(mountPoint))
        return withSeparator(mountPoint);
    for (const std::string& candidate : candidates) {
        if (!candidate.empty() && deviceOf(candidate) == device && mayCreateIn(candidate))
            return withSeparator(candidate);
    }
    return std::nullopt;
}

std::optional<std::string> DiskTestDirectory(const std::string& mountPoint)
{
    return DiskTestDirectory(mountPoint, DiskTestCandidates());
}

std::vector<std::string> DiskTestCandidates()
{
    std::vector<std::string> candidates;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        candidates.emplace_back(home);
    candidates.emplace_back("/var/tmp");
    candidates.emplace_back("/tmp");
    return candidates;
}

} // namespace platform
