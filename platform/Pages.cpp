// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pages.h"

#include <cstring>
#include <sys/mman.h>

namespace platform {

void* AllocateCommittedPages(std::size_t size)
{
    if (size == 0)
        return nullptr;
    void* address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return nullptr;
    // A write fault gives each page a frame of its own; MAP_POPULATE alone
    // may map the shared zero page for reading.
    std::memset(address, 0, size);
    return address;
}

void FreePages(void* address, std::size_t size)
{
    if (address != nullptr)
        munmap(address, size);
}

} // namespace platform
