// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class FileError;
}

namespace bench {

// The disk test writes whole blocks of this size from the start of TestBuffer.
inline constexpr std::int64_t kDiskBlockBytes = 1'048'576;
inline constexpr char kScratchFileName[] = "temp.$$$";

// Where the scratch file goes in `directory`.
std::string ScratchPath(std::string directory);

// "Cannot create file <path>: <reason>", "Unable to write to <path>: ..."
// or "Unable to read <path>: ...".
std::string ScratchFileMessage(const platform::FileError& error);

// Bytes per second for `count` blocks written in `elapsedMs` milliseconds:
// bytes / (elapsed / 1000) in extended precision, rounded to nearest with
// ties to even. 0 when no time passed.
std::int64_t DiskRate(std::int32_t count, double elapsedMs);

// Creates the scratch file "temp.$$$" in `directory`, appends `count` blocks
// from the start of TestBuffer with ordinary caching, fsyncs and closes it,
// then deletes it; returns the write rate in bytes per second. Creating,
// writing, flushing and closing are timed at time-critical priority; the
// deletion is not. A failure throws BenchError "Cannot create file <path>:
// <reason>" or "Unable to write to <path>: <reason>", and the scratch file
// is removed on every way out. TestBuffer must hold at least one block.
std::int64_t DiskTest(const std::string& directory, std::int32_t count);

} // namespace bench
