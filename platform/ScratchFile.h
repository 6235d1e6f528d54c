// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// A file operation that failed: which step, on which file, and errno.
class FileError : public std::runtime_error
{
public:
    enum class Step
    {
        Create,
        Write,
        Read,
    };

    FileError(Step step, std::string path, int errorNumber);

    Step step() const { return m_step; }
    const std::string& path() const { return m_path; }
    int errorNumber() const { return m_errorNumber; }
    // The system's text for errorNumber, as strerror gives it.
    std::string reason() const;

private:
    Step m_step;
    std::string m_path;
    int m_errorNumber;
};

// What a scratch file is opened for.
enum class ScratchAccess
{
    Write,
    ReadWrite,
};

// A scratch file that exists only while this object lives. Creating it never
// follows a symbolic link and never blocks on a FIFO; something already at
// the path is replaced only when it is a regular file of the effective user
// with no other name. Otherwise nothing at the path is touched. Every failure
// throws FileError. The file is removed when the object goes, however it goes,
// and by SIGINT, SIGTERM, SIGHUP or SIGXFSZ, which then end the program as
// they ask (where their action is the default). One scratch file at a time.
class ScratchFile
{
public:
    explicit ScratchFile(std::string path, ScratchAccess access = ScratchAccess::Write);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Writes at the end of the file; what the system refuses (a full disk, a
    // file-size limit) is the FileError.
    void Append(const void* data, std::size_t size);
    // fsync, then close: the data has reached the disk when this returns.
    void Finish();

    // Turns direct I/O on (reads and writes bypass the page cache): 0, or
    // the errno of the refusal (EINVAL where the filesystem has no direct
    // I/O, as tmpfs); the file stays usable, cached, then.
    int UseDirectIo();
    // Allocates `bytes` from the start so that later writes within them do
    // not grow the file; a filesystem that cannot allocate ahead is left to
    // grow it as it is written. What the system refuses is the FileError.
    void Reserve(std::uint64_t bytes);
    // fdatasync: what was written has reached the disk.
    void SyncData();

    const std::string& path() const { return m_path; }
    // The open descriptor, for positioned reads and writes; -1 after Finish.
    int descriptor() const { return m_fd; }

private:
    std::string m_path;
    int m_fd = -1;
};

} // namespace platform
