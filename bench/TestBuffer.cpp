// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/TestBuffer.h"

#include "bench/BenchError.h"
#include "platform/Pages.h"

#include <string>

namespace bench {
namespace {

void* g_address = nullptr;
std::size_t g_size = 0;

} // namespace

void AllocTestBuffer(std::size_t size)
{
    FreeTestBuffer();
    void* address = platform::AllocateCommittedPages(size);
    if (address == nullptr) {
        throw BenchError("Not enough memory for the test buffer (" + std::to_string(size) +
                         " bytes)");
    }
    g_address = address;
    g_size = size;
}

void FreeTestBuffer()
{
    platform::FreePages(g_address, g_size);
    g_address = nullptr;
    g_size = 0;
}

std::uint32_t* TestBufferAddress()
{
    return static_cast<std::uint32_t*>(g_address);
}

std::size_t TestBufferSize()
{
    return g_size;
}

} // namespace bench
