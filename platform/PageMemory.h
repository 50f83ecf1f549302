#pragma once

#include <cstddef>

// Large blocks of memory straight from the system, for the record stores.
// `bytes` is a multiple of 2 MiB. On Linux the block is aligned to 2 MiB and
// offered to the kernel for transparent huge pages (only a hint); on Windows
// it is committed with VirtualAlloc.

// A zeroed, writable block of `bytes`, or nullptr when there is no memory.
void* reservePages(std::size_t bytes);
// Gives back a block from reservePages() of the same `bytes`.
void releasePages(void* block, std::size_t bytes) noexcept;
