// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace bench {

// The program's one benchmark buffer, used by the memory and disk kernels. It
// exists only inside a memory or disk refresh. Every page is committed when
// it is allocated, so the kernels measure memory and not page faults.

// Allocates `size` bytes, releasing any earlier buffer first. Throws
// BenchError "Not enough memory for the test buffer (<size> bytes)".
void AllocTestBuffer(std::size_t size);
// Releases the buffer; nothing happens when there is none.
void FreeTestBuffer();

// The buffer's first word and its size in bytes; null and 0 when there is none.
std::uint32_t* TestBufferAddress();
std::size_t TestBufferSize();

// AllocTestBuffer on construction, FreeTestBuffer on every way out, so a
// refresh that fails still releases the buffer.
class ScopedTestBuffer
{
public:
    explicit ScopedTestBuffer(std::size_t size) { AllocTestBuffer(size); }
    ~ScopedTestBuffer() { FreeTestBuffer(); }
    ScopedTestBuffer(const ScopedTestBuffer&) = delete;
    ScopedTestBuffer& operator=(const ScopedTestBuffer&) = delete;
};

} // namespace bench
