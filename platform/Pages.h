// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace platform {

// Page-aligned anonymous memory whose every page has been written once, so
// that reads see memory of their own instead of the kernel's one shared zero
// page. Null when the system refuses the memory.
void* AllocateCommittedPages(std::size_t size);

// Returns memory from AllocateCommittedPages; null is ignored.
void FreePages(void* address, std::size_t size);

} // namespace platform
