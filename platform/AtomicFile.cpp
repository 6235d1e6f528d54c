// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "Files.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <random>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// The path a chain of symbolic links at `path` ends in; empty with errno
// ELOOP for a loop.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0)
            return path; // no link (or nothing) here
        const std::string_view next(target, static_cast<std::size_t>(length));
        const auto slash = path.rfind('/');
        if (next.starts_with('/') || slash == std::string::npos)
            path = next;
        else
            path = path.substr(0, slash + 1).append(next);
    }
    errno = ELOOP;
    return {};
}

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "<path>.~XXXXXX" with six random letters.
std::string temporaryName(const std::string& path)
{
    static constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random(static_cast<unsigned>(std::random_device{}()));
    std::string name = path + ".~";
    for (int i = 0; i < 6; ++i)
        name += letters[random() % letters.size()];
    return name;
}

// Gives the unnamed file at `fd` the name `target`; fails with EEXIST when
// something is there.
bool linkUnnamed(int fd, const std::string& target)
{
    if (::linkat(fd, "", AT_FDCWD, target.c_str(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno != EPERM && errno != ENOENT && errno != EINVAL)
        return false;
    // Without CAP_DAC_READ_SEARCH: through the descriptor's /proc entry.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A temporary file for `target`: unnamed where the filesystem allows it,
// else created under a fresh name returned in `name`.
int openTemporary(const std::string& target, std::string& name)
{
    const int fd = ::open(directoryOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        const int named = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (named >= 0 || errno != EEXIST)
            return named;
    }
    return -1;
}

// Writes, checks the size and forces the contents to the disk.
bool fill(int fd, std::string_view bytes)
{
    if (const int error = WriteAll(fd, bytes.data(), bytes.size()); error != 0) {
        errno = error;
        return false;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return false;
    if (static_cast<std::uint64_t>(info.st_size) != bytes.size()) {
        errno = ENOSPC;
        return false;
    }
    return SyncFile(fd);
}

// Names the whole file `target`. An unnamed file gets a temporary name
// first, since linkat never replaces.
bool publish(int fd, std::string& name, const std::string& target, ExistingFile existing)
{
    if (name.empty() && existing == ExistingFile::Keep)
        return linkUnnamed(fd, target);
    for (int attempt = 0; name.empty(); ++attempt) {
        const std::string candidate = temporaryName(target);
        if (linkUnnamed(fd, candidate))
            name = candidate;
        else if (errno != EEXIST || attempt == 100)
            return false;
    }
    if (existing == ExistingFile::Keep) {
        if (::link(name.c_str(), target.c_str()) != 0)
            return false;
        ::unlink(name.c_str());
        name.clear();
        return true;
    }
    if (::rename(name.c_str(), target.c_str()) != 0)
        return false;
    name.clear();
    return true;
}

void syncDirectory(const std::string& path)
{
    const int fd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileSizeSignalHeld::FileSizeSignalHeld()
{
    sigemptyset(&m_held);
    sigaddset(&m_held, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &m_held, &m_old);
}

FileSizeSignalHeld::~FileSizeSignalHeld()
{
    const timespec now{0, 0};
    while (sigtimedwait(&m_held, nullptr, &now) == SIGXFSZ) {
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

int WriteAll(int descriptor, const void* data, std::size_t size)
{
    const FileSizeSignalHeld held;
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, next, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return ENOSPC;
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

bool IsSpecialFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

bool WriteInPlace(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int error = WriteAll(fd, bytes.data(), bytes.size());
    ::close(fd);
    errno = error;
    return error == 0;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, ExistingFile existing)
{
    // link(2) never follows a link at its new name: Keep claims the path itself.
    const std::string target = existing == ExistingFile::Keep ? path : followLinks(path);
    if (target.empty())
        return false;
    std::string name; // the temporary's name, while it has one
    const int fd = openTemporary(target, name);
    if (fd < 0)
        return false;
    struct stat old
    {
    };
    bool done = fill(fd, bytes);
    if (done && existing == ExistingFile::Replace && ::stat(target.c_str(), &old) == 0 &&
        S_ISREG(old.st_mode))
        done = ::fchmod(fd, old.st_mode & 07777) == 0;
    done = done && publish(fd, name, target, existing);
    const int error = errno;
    if (!name.empty())
        ::unlink(name.c_str());
    ::close(fd);
    if (!done) {
        errno = error;
        return false;
    }
    syncDirectory(target);
    return true;
}

int CreateUnderFreeName(const std::function<std::string(int)>& nameFor, int count,
                        std::string_view bytes)
{
    const std::string first = nameFor(0);
    std::string name; // the temporary's name, while it has one
    const int fd = openTemporary(first, name);
    if (fd < 0)
        return -1;
    int taken = -1;
    bool writable = fill(fd, bytes);
    for (int n = 0; writable && taken < 0 && n < count; ++n) {
        if (publish(fd, name, n == 0 ? first : nameFor(n), ExistingFile::Keep))
            taken = n;
        else
            writable = errno == EEXIST;
    }
    const int error = taken < 0 && writable ? EEXIST : errno;
    if (!name.empty())
        ::unlink(name.c_str());
    ::close(fd);
    if (taken < 0) {
        errno = error;
        return -1;
    }
    syncDirectory(first);
    return taken;
}

} // namespace platform
