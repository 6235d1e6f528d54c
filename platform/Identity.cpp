// SPDX-License-Identifier: GPL-3.0-or-later
#include "Identity.h"

#include "Files.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <pwd.h>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace platform {

std::string ComputerName()
{
    // Room for the longest name the kernel allows and its terminating zero.
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name) != 0)
        return {};
    return std::string(name, strnlen(name, sizeof name));
}

namespace {

// A member of the effective user's password entry; nothing without one.
std::optional<std::string> PasswordEntry(char* passwd::*member)
{
    const uid_t uid = geteuid();
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    // The suggested size is only a hint: a long entry needs more (ERANGE).
    constexpr std::size_t kLargest = std::size_t(1) << 24;
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found)
            return std::string(found->*member != nullptr ? found->*member : "");
        if (error != ERANGE || buffer.size() >= kLargest)
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string UserName()
{
    return PasswordEntry(&passwd::pw_name).value_or(std::to_string(geteuid()));
}

std::string HomeFolder()
{
    return PasswordEntry(&passwd::pw_dir).value_or(std::string());
}

std::optional<KernelIdentity> ReadKernelIdentity()
{
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    return KernelIdentity{names.sysname, names.release};
}

namespace {

// Undoes shell quoting as os-release uses it: one pair of double or single
// quotes, and backslash escapes inside double quotes.
std::string unquote(const std::string& raw)
{
    if (raw.size() >= 2 && raw.front() == '\'' && raw.back() == '\'')
        return raw.substr(1, raw.size() - 2);
    const bool doubled = raw.size() >= 2 && raw.front() == '"' && raw.back() == '"';
    const std::string inner = doubled ? raw.substr(1, raw.size() - 2) : raw;
    std::string value;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size())
            ++i;
        value += inner[i];
    }
    return value;
}

} // namespace

std::optional<std::string> OsReleaseValue(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    std::optional<std::string> value;
    while (std::getline(lines, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.starts_with(key + "="))
            value = unquote(Trim(std::string_view(trimmed).substr(key.size() + 1)));
    }
    return value;
}

std::optional<OsVersion> ReadOsVersion(const std::filesystem::path& root,
                                       const std::optional<KernelIdentity>& kernel)
{
    auto text = ReadFileBytes(root / "etc/os-release");
    if (!text)
        text = ReadFileBytes(root / "usr/lib/os-release");
    if (!text && !kernel)
        return std::nullopt;
    OsVersion os;
    if (text)
        os.version = OsReleaseValue(*text, "PRETTY_NAME").value_or("Linux");
    else
        os.version = kernel->sysname;
    if (kernel)
        os.versionNumber = kernel->release;
    return os;
}

} // namespace platform
