// SPDX-License-Identifier: GPL-3.0-or-later
#include "Files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {

namespace {

// Closes a descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Appends the rest of the file; false on a read error. Stops early (with
// true) once more than maxBytes are held.
bool readRest(int fd, std::string& bytes, std::uint64_t maxBytes)
{
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > maxBytes)
            return true;
    }
}

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    return S_ISDIR(mode) ? FileKind::Directory : FileKind::Other;
}

} // namespace

FileContents ReadRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes)
{
    FileContents contents;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info
    {
    };
    if (file.get() < 0) {
        contents.error = errno;
        // What refused to open (a socket, a file without read permission).
        if (::stat(path.c_str(), &info) == 0)
            contents.kind = kindOf(info.st_mode);
        return contents;
    }
    if (::fstat(file.get(), &info) != 0) {
        contents.error = errno;
        return contents;
    }
    contents.kind = kindOf(info.st_mode);
    if (contents.kind != FileKind::Regular) {
        contents.outcome = ReadOutcome::NotRegular;
        return contents;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        contents.outcome = ReadOutcome::TooLarge;
        return contents;
    }
    contents.modified = info.st_mtime;
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
    if (!readRest(file.get(), contents.bytes, maxBytes)) {
        contents.error = errno;
        contents.bytes.clear();
        return contents;
    }
    contents.outcome = contents.bytes.size() > maxBytes ? ReadOutcome::TooLarge : ReadOutcome::Read;
    if (contents.outcome != ReadOutcome::Read)
        contents.bytes.clear();
    return contents;
}

bool MakeDirectories(const std::string& path, unsigned mode)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) == 0) {
        errno = S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    const auto slash = path.find_last_not_of('/') == std::string::npos
                           ? std::string::npos
                           : path.rfind('/', path.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash), mode))
        return false;
    // Another process may have made it meanwhile.
    if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0 || errno == EEXIST)
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return false;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path)
{
    FileContents contents = ReadRegularFile(path);
    if (contents.outcome != ReadOutcome::Read)
        return std::nullopt;
    return std::move(contents.bytes);
}

bool SyncFile(int descriptor)
{
    // EINVAL: a file that cannot be synchronised at all, nothing was lost.
    return ::fsync(descriptor) == 0 || errno == EINVAL;
}

std::string ExecutableDirectory()
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2); // the name may have been cut short
    }
    // A replaced executable reads "<path> (deleted)": the directory is the same.
    const auto slash = target.rfind('/');
    if (!target.starts_with('/') || slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : target.substr(0, slash);
}

std::string ReadAttribute(const std::filesystem::path& path)
{
    const std::string bytes = ReadFileBytes(path).value_or(std::string());
    return Trim(std::string_view(bytes).substr(0, bytes.find('\n')));
}

std::string Trim(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> ListEntries(const std::filesystem::path& directory,
                                     std::string_view prefix)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.starts_with(prefix))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the digit run starting at pos.
std::size_t digitRun(std::string_view s, std::size_t pos)
{
    std::size_t end = pos;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    return end - pos;
}

// Compares two digit runs by value; leading zeros do not count.
int compareNumbers(std::string_view a, std::string_view b)
{
    while (a.size() > 1 && a.front() == '0')
        a.remove_prefix(1);
    while (b.size() > 1 && b.front() == '0')
        b.remove_prefix(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

bool NaturalLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t la = digitRun(a, i), lb = digitRun(b, j);
            if (const int c = compareNumbers(a.substr(i, la), b.substr(j, lb)); c != 0)
                return c < 0;
            i += la;
            j += lb;
        } else {
            if (a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b;
}

} // namespace platform
