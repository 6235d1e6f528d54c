// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
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

// What became of reading a file whole.
enum class ReadOutcome
{
    Read,
    Unreadable, // missing, or an error while opening or reading it
    NotRegular, // a directory, FIFO, device or socket
    TooLarge,   // more than the bytes allowed
};

// What stands at a path.
enum class FileKind
{
    Missing, // nothing, or a symbolic link that leads nowhere or in a loop
    Regular,
    Directory,
    Other, // a FIFO, a device, a socket
};

struct FileContents
{
    ReadOutcome outcome = ReadOutcome::Unreadable;
    std::string bytes; // the contents when read
    FileKind kind = FileKind::Missing;
    int error = 0;             // errno of a failed open or read, 0 otherwise
    std::int64_t modified = 0; // when read: the last modification, seconds since 1970
};

// Reads a regular file whole without ever blocking: it is opened with
// O_NONBLOCK and judged by fstat of the open descriptor, so a FIFO, a device
// or a symbolic link to one is refused, and a pseudo-file that would block on
// read (such as /proc/kmsg) fails instead. Files of /proc and /sys report a
// size of 0, so the limit is also applied to what is read. Where it is not
// read, `kind` and `error` say why.
FileContents ReadRegularFile(const std::filesystem::path& path,
                             std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

// Makes the directory `path` and every missing one above it with the
// permission bits `mode`; true when it is a directory then (a link to one
// counts), else false with errno set.
bool MakeDirectories(const std::string& path, unsigned mode);

// The whole regular file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Forces a written file to the disk; false when the system reports an error
// (a full disk or a quota on a network filesystem may show only here).
bool SyncFile(int descriptor);

// The directory of the running executable, from the bytes of
// /proc/self/exe, whatever their encoding; empty when it cannot be found.
std::string ExecutableDirectory();

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
