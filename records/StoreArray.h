#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/PageMemory.h"

// The growable array of the record stores, for values that are copied as
// bytes (runs, references to runs).
//
// - Blocks of 2 MiB and more come straight from the system (reservePages: on
//   Linux aligned to 2 MiB and offered to the kernel for transparent huge
//   pages), so that filling the store of a million runs costs a few dozen page
//   faults rather than thousands. Smaller blocks come from the ordinary heap.
// - Unlike std::vector it can be filled in place: spare() is the room after
//   the last value, which a loader (or a second thread, in a range of its own)
//   writes before commit() counts it in. Nothing is written twice.
template <class T>
class StoreArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  StoreArray() = default;
  ~StoreArray() { release(); }
  StoreArray(StoreArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  StoreArray& operator=(StoreArray&& other) noexcept {
    if (this != &other) {
      release();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }
  StoreArray(const StoreArray&) = delete;
  StoreArray& operator=(const StoreArray&) = delete;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  const T& front() const { return data_[0]; }
  const T& back() const { return data_[size_ - 1]; }

  // Room for `count` values in all; the values move when the block does.
  void reserve(std::size_t count) {
    if (count <= capacity_) return;
    if (count > SIZE_MAX / sizeof(T) / 2) throw std::bad_alloc();
    T* moved = allocate(count);
    if (size_ > 0) std::memcpy(static_cast<void*>(moved), data_, size_ * sizeof(T));
    deallocate(data_, capacity_);
    data_ = moved;
    capacity_ = count;
  }

  void push_back(const T& value) {
    if (size_ == capacity_) reserve(grownCapacity(size_ + 1));
    data_[size_++] = value;
  }
  void append(const T* values, std::size_t count) {
    if (count > capacity_ - size_) reserve(grownCapacity(size_ + count));
    if (count > 0) std::memcpy(static_cast<void*>(data_ + size_), values, count * sizeof(T));
    size_ += count;
  }
  // Drops the values from `count` on; never grows.
  void truncate(std::size_t count) {
    if (count < size_) size_ = count;
  }
  void clear() { size_ = 0; }

  // The room after the last value, capacity() - size() values long.
  T* spare() { return data_ + size_; }
  // Counts in the next `count` values of spare(), which the caller wrote.
  void commit(std::size_t count) { size_ += count; }

 private:
  static constexpr std::size_t HugePage = std::size_t{2} << 20;
  static constexpr std::size_t roundUp(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }

  std::size_t grownCapacity(std::size_t needed) const {
    const std::size_t doubled = capacity_ * 2;
    return doubled > needed ? doubled : needed;
  }

  static T* allocate(std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < HugePage) return static_cast<T*>(::operator new(bytes));
    void* block = reservePages(roundUp(bytes));
    if (!block) throw std::bad_alloc();
    return static_cast<T*>(block);
  }

  static void deallocate(T* block, std::size_t count) noexcept {
    if (!block) return;
    const std::size_t bytes = count * sizeof(T);
    if (bytes < HugePage)
      ::operator delete(block);
    else
      releasePages(block, roundUp(bytes));
  }

  void release() noexcept {
    deallocate(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
