// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The machine's host name, whole.
std::string ComputerName();

// The login name of the effective user; the numeric user id where the
// password database has no entry for it (containers often run so).
std::string UserName();

// The effective user's home folder from the password database; empty where
// it has no entry.
std::string HomeFolder();

// What uname reports: the system name ("Linux") and the kernel release.
struct KernelIdentity
{
    std::string sysname;
    std::string release;
};

std::optional<KernelIdentity> ReadKernelIdentity();

// The three texts of the operating-system line.
struct OsVersion
{
    std::string version;
    std::string versionNumber;
    std::string subVersionNumber;
};

// Version = PRETTY_NAME of <root>/etc/os-release (else <root>/usr/lib/os-release;
// "Linux" where the file or the key is missing, as os-release itself defines),
// VersionNumber = the kernel release, SubVersionNumber empty. Nothing when
// neither an os-release file nor the kernel identity can be read.
std::optional<OsVersion> ReadOsVersion(const std::filesystem::path& root,
                                       const std::optional<KernelIdentity>& kernel);

// The value of one key of an os-release file's text, quotes and escapes
// removed; nothing when the key is absent.
std::optional<std::string> OsReleaseValue(const std::string& text, const std::string& key);

} // namespace platform
