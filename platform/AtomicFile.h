// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// What to do when a file is already at the path.
enum class ExistingFile
{
    Replace, // put the new contents in its place, keeping its permissions
    Keep,    // fail with EEXIST and leave it alone, a symbolic link too
};

// Puts `bytes` at `path` in one step. A temporary file in the same directory
// is written unbuffered, its size checked, forced to the disk and only then
// renamed over the path; a symbolic link at the path stays, its target is
// replaced. With ExistingFile::Keep the file is linked to the path instead,
// which claims the name or fails: nothing there is replaced, and no link is
// followed (a dangling one would put the file outside the directory). True on
// success. On every failure (a full disk, a quota, a
// file-size limit, a name too long for the temporary) errno says why, the old
// file is whole and no temporary is left. Where the filesystem allows it the
// temporary has no name until it is whole, so not even a kill leaves one.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           ExistingFile existing = ExistingFile::Replace);

// Puts `bytes` under the first free one of the names `nameFor(0)` ...
// `nameFor(count - 1)`, all in one directory: written, checked and forced to
// the disk once, then linked to each name in turn until one is free, so
// saves racing for a name each get their own. Nothing at a name is replaced
// or followed. Returns the index of the name taken; -1 with errno set when
// none is free (EEXIST) or the file cannot be written.
int CreateUnderFreeName(const std::function<std::string(int)>& nameFor, int count,
                        std::string_view bytes);

// True when a device, pipe or socket is at `path` (links followed): a file
// that is written in place, since replacing it would put a regular file where
// the node was.
bool IsSpecialFile(const std::string& path);

// Writes `bytes` to what is at `path` in place (/dev/stdout, a terminal).
// False with errno set when it cannot be opened or written.
bool WriteInPlace(const std::string& path, std::string_view bytes);

// Holds SIGXFSZ back from the calling thread while it lives, so that a write
// past the file-size limit fails with EFBIG instead of killing the process;
// the signal it raised is taken back before the old mask returns.
class FileSizeSignalHeld
{
public:
    FileSizeSignalHeld();
    ~FileSizeSignalHeld();
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t m_held{};
    sigset_t m_old{};
};

// Writes all of `data` at the descriptor's position: 0, or the errno of the
// write that failed (ENOSPC for one that wrote nothing). A file-size limit
// fails the write with EFBIG instead of killing the process with SIGXFSZ.
int WriteAll(int descriptor, const void* data, std::size_t size);

} // namespace platform
