#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// Allocator of the record stores. Blocks of 2 MiB and more are mapped directly,
// aligned to 2 MiB and offered to the kernel for transparent huge pages, so
// that filling the store of a million runs costs a few dozen page faults rather
// than ten thousand. Smaller blocks come from the ordinary heap.
template <class T>
class StoreAllocator {
 public:
  using value_type = T;

  StoreAllocator() noexcept = default;
  template <class U>
  StoreAllocator(const StoreAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < HugePage) return static_cast<T*>(::operator new(bytes));
    const std::size_t mapped = roundUp(bytes) + HugePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    // Keep the 2 MiB-aligned part and give the rest back.
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const std::uintptr_t end = start + mapped;
    const std::uintptr_t used = aligned + roundUp(bytes);
    if (end > used) ::munmap(reinterpret_cast<void*>(used), end - used);
    ::madvise(reinterpret_cast<void*>(aligned), roundUp(bytes), MADV_HUGEPAGE);
    return reinterpret_cast<T*>(aligned);
  }

  void deallocate(T* p, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < HugePage)
      ::operator delete(p);
    else
      ::munmap(p, roundUp(bytes));
  }

  template <class U>
  bool operator==(const StoreAllocator<U>&) const noexcept {
    return true;
  }

 private:
  static constexpr std::size_t HugePage = std::size_t{2} << 20;
  static constexpr std::size_t roundUp(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }
};

template <class T>
using StoreVector = std::vector<T, StoreAllocator<T>>;
