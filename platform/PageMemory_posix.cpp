#include <sys/mman.h>

#include <cstdint>

#include "platform/PageMemory.h"

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

}  // namespace

void* reservePages(std::size_t bytes) {
  const std::size_t mapped = bytes + HugePage;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  // Keep the 2 MiB-aligned part and give the rest back.
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t end = start + mapped;
  const std::uintptr_t used = aligned + bytes;
  if (end > used) ::munmap(reinterpret_cast<void*>(used), end - used);
  ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void releasePages(void* block, std::size_t bytes) noexcept { ::munmap(block, bytes); }
