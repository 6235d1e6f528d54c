#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Readers of /proc, /sys and /etc take the directory that stands for "/", so
// tests can point them at a fixture tree. This is the real one.
inline const std::filesystem::path& SystemRoot()
{
    static const std::filesystem::path root{"/"};
    return root;
}

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// The first line of a file with surrounding blanks removed; empty when the
// file is missing. Sysfs attributes are one line ending in a newline.
std::string ReadAttribute(const std::filesystem::path& path);

// Removes blanks, tabs and line ends at both ends.
std::string Trim(std::string_view text);

// Names in a directory that start with the prefix, in natural order (input2
// before input10); empty when the directory is missing.
std::vector<std::string> ListEntries(const std::filesystem::path& directory,
                                     std::string_view prefix);

// Compares names so that embedded decimal numbers sort by value.
bool NaturalLess(std::string_view a, std::string_view b);

} // namespace platform
