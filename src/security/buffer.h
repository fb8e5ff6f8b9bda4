// A byte buffer on the library heap that wipes itself when released: most
// buffers of this subsystem hold keys, passwords or plain text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "frame/frame.h"

namespace zq::security {

inline void wipe(void* p, size_t n) {
  if (p && n) explicit_bzero(p, n);
}

class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  Buffer(Buffer&& other) noexcept { *this = std::move(other); }
  Buffer& operator=(Buffer&& other) noexcept {
    if (this != &other) {
      reset();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }
  ~Buffer() { reset(); }

  // Room for n bytes plus a terminating zero (so texts can live here too).
  bool allocate(size_t n) {
    reset();
    if (n == SIZE_MAX) return false;
    data_ = static_cast<uint8_t*>(zq::alloc(n + 1));
    if (!data_) return false;
    data_[n] = 0;
    size_ = n;
    return true;
  }
  bool assign(const void* bytes, size_t n) {
    if (!allocate(n)) return false;
    if (n) memcpy(data_, bytes, n);
    return true;
  }
  // Takes over a block that came from ZQAlloc or malloc.
  void adopt(void* block, size_t n) {
    reset();
    data_ = static_cast<uint8_t*>(block);
    size_ = n;
  }
  // Shortens the visible size; the bytes stay allocated until reset.
  void shrink(size_t n) {
    if (n < size_) {
      wipe(data_ + n, size_ - n);
      size_ = n;
      data_[n] = 0;
    }
  }
  void reset() {
    if (data_) {
      wipe(data_, size_);
      zq::freeBlock(data_);
    }
    data_ = nullptr;
    size_ = 0;
  }
  // Hands the block to the caller (who frees it with ZQFree).
  uint8_t* release() {
    size_ = 0;
    return std::exchange(data_, nullptr);
  }

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace zq::security
