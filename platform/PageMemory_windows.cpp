#include <windows.h>

#include "platform/PageMemory.h"

void* reservePages(std::size_t bytes) {
  return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void releasePages(void* block, std::size_t) noexcept { ::VirtualFree(block, 0, MEM_RELEASE); }
