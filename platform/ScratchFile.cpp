// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScratchFile.h"

#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <iterator>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// O_NOFOLLOW: a link planted at the path is refused, not followed.
// O_NONBLOCK: a FIFO without a reader fails at once instead of hanging; a
// regular file's writes ignore the flag.
constexpr int kGuardFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

int openFlags(ScratchAccess access)
{
    return (access == ScratchAccess::ReadWrite ? O_RDWR : O_WRONLY) | kGuardFlags;
}

// Why something already at the path may not be replaced; 0 when it may. A
// second name would keep the data of whatever we truncated.
int refusal(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EEXIST;
    if (info.st_uid != geteuid())
        return EPERM;
    if (info.st_nlink != 1)
        return EMLINK;
    return 0;
}

[[noreturn]] void failCreate(const std::string& path, int error)
{
    throw FileError(FileError::Step::Create, path, error);
}

// Another run of the test on the same drive holds the file locked while it
// lives: emptying it would pull the blocks from under that run's reads.
// Filesystems without locks are left unguarded.
int lockAgainstOtherRuns(int fd)
{
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)
        return 0;
    return EBUSY;
}

// Empties what is already at the path, judged on the opened descriptor so
// that nothing can be swapped in between the check and the truncation.
int replaceExisting(const std::string& path, int flags)
{
    const int fd = open(path.c_str(), flags);
    if (fd < 0)
        failCreate(path, errno);
    struct stat info
    {
    };
    int error = fstat(fd, &info) == 0 ? refusal(info) : errno;
    if (error == 0)
        error = lockAgainstOtherRuns(fd);
    if (error == 0 && ftruncate(fd, 0) != 0)
        error = errno;
    if (error != 0) {
        close(fd);
        failCreate(path, error);
    }
    return fd;
}

int openScratch(const std::string& path, ScratchAccess access)
{
    const int flags = openFlags(access);
    const int fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        // Another run may have opened and locked it since we created it.
        if (const int error = lockAgainstOtherRuns(fd); error != 0) {
            close(fd);
            failCreate(path, error);
        }
        return fd;
    }
    if (errno != EEXIST)
        failCreate(path, errno);
    return replaceExisting(path, flags);
}

// The scratch file's name for the handler of the signals that end the
// program, so that it exists only during the test even when a user stops it.
// SIGXFSZ from our own writes is held back while they run (they fail with
// EFBIG); one sent from outside ends the program as it asks, the file gone.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};
char g_scratchPath[PATH_MAX];
volatile sig_atomic_t g_scratchNamed = 0;
struct sigaction g_previous[std::size(kEndingSignals)];
bool g_handled[std::size(kEndingSignals)];

extern "C" void removeScratchAndEnd(int signal)
{
    if (g_scratchNamed != 0)
        unlink(g_scratchPath);
    // SA_RESETHAND restored the default action: the signal, raised again,
    // ends the program as it asks once this handler returns.
    raise(signal);
}

// Signals whose action is still the default get the handler; one that is
// ignored or handled by someone else stays as it is.
void removeOnEndingSignals(const std::string& path)
{
    if (path.size() >= sizeof g_scratchPath)
        return;
    std::memcpy(g_scratchPath, path.c_str(), path.size() + 1);
    g_scratchNamed = 1;
    struct sigaction action
    {
    };
    action.sa_handler = removeScratchAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        struct sigaction current
        {
        };
        g_handled[i] = sigaction(kEndingSignals[i], nullptr, &current) == 0 &&
                       current.sa_handler == SIG_DFL &&
                       sigaction(kEndingSignals[i], &action, &g_previous[i]) == 0;
    }
}

void keepOnEndingSignals()
{
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        if (g_handled[i])
            sigaction(kEndingSignals[i], &g_previous[i], nullptr);
        g_handled[i] = false;
    }
    g_scratchNamed = 0;
}

} // namespace

FileError::FileError(Step step, std::string path, int errorNumber)
    : std::runtime_error(path + ": " + std::strerror(errorNumber)), m_step(step),
      m_path(std::move(path)), m_errorNumber(errorNumber)
{
}

std::string FileError::reason() const
{
    return std::strerror(m_errorNumber);
}

ScratchFile::ScratchFile(std::string path, ScratchAccess access) : m_path(std::move(path))
{
    removeOnEndingSignals(m_path);
    try {
        m_fd = openScratch(m_path, access);
    } catch (...) {
        keepOnEndingSignals();
        throw;
    }
}

ScratchFile::~ScratchFile()
{
    if (m_fd >= 0)
        close(m_fd);
    // A failed removal is not reported: there is nobody left to tell.
    unlink(m_path.c_str());
    keepOnEndingSignals();
}

void ScratchFile::Append(const void* data, std::size_t size)
{
    // A file-size limit fails the write with EFBIG instead of killing the
    // program, so the file is removed and the error reported.
    if (const int error = WriteAll(m_fd, data, size); error != 0)
        throw FileError(FileError::Step::Write, m_path, error);
}

void ScratchFile::Finish()
{
    const int fd = std::exchange(m_fd, -1);
    if (fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        throw FileError(FileError::Step::Write, m_path, error);
    }
    // Linux releases the descriptor even when close reports EINTR, and the
    // data is on the disk already.
    if (close(fd) != 0 && errno != EINTR)
        throw FileError(FileError::Step::Write, m_path, errno);
}

int ScratchFile::UseDirectIo()
{
    // Set on the open descriptor rather than at open: the file was created
    // and judged by the one guarded open, whatever the filesystem allows.
    // O_NONBLOCK goes: it only kept that open from waiting on a FIFO, and
    // io_uring would take it as "fail rather than wait" for a regular file.
    const int flags = fcntl(m_fd, F_GETFL);
    if (flags < 0 || fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return errno;
    if (fcntl(m_fd, F_SETFL, (flags & ~O_NONBLOCK) | O_DIRECT) != 0)
        return errno;
    return 0;
}

void ScratchFile::Reserve(std::uint64_t bytes)
{
    const FileSizeSignalHeld held;
    if (fallocate(m_fd, 0, 0, static_cast<off_t>(bytes)) == 0)
        return;
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        throw FileError(FileError::Step::Write, m_path, errno);
}

void ScratchFile::SyncData()
{
    if (fdatasync(m_fd) != 0)
        throw FileError(FileError::Step::Write, m_path, errno);
}

} // namespace platform
