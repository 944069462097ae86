// Secrets in libsodium's guarded memory: locked out of swap, fenced by guard pages, wiped when
// freed. One owner at a time; a move hands the memory over.
#pragma once

#include <sodium.h>

#include <cstddef>
#include <utility>

template <typename T>
class GuardedBuffer {
 public:
  GuardedBuffer() = default;
  // Room for `capacity` units, none in use; no room at all (data() null) when the memory cannot
  // be had.
  explicit GuardedBuffer(size_t capacity) {
    if (capacity != 0 && sodium_init() >= 0) {
      data_ = static_cast<T*>(sodium_malloc(capacity * sizeof(T)));
    }
  }
  ~GuardedBuffer() {
    if (data_ != nullptr) sodium_free(data_);
  }
  GuardedBuffer(GuardedBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  GuardedBuffer& operator=(GuardedBuffer&& other) noexcept {
    GuardedBuffer gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  T* data() const { return data_; }
  // The units in use, from the first; the caller keeps it within the room it asked for.
  size_t size() const { return size_; }
  void push_back(T unit) { data_[size_++] = unit; }
  void clear() { size_ = 0; }

 private:
  T* data_ = nullptr;
  size_t size_ = 0;
};
