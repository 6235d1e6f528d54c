// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Where the disk test of a drive writes its scratch file: the drive's mount
// point when the effective user may create files there; otherwise the first
// of `candidates` that lies on the same filesystem (same st_dev) and where the
// user may. Nothing when there is no such directory. The result ends in '/'.
std::optional<std::string> DiskTestDirectory(const std::string& mountPoint,
                                             const std::vector<std::string>& candidates);

// The same with DiskTestCandidates().
std::optional<std::string> DiskTestDirectory(const std::string& mountPoint);

// Whether both paths exist and lie on one filesystem (same st_dev).
bool SameFilesystem(const std::string& first, const std::string& second);

// $HOME (when set), /var/tmp, /tmp.
std::vector<std::string> DiskTestCandidates();

} // namespace platform
