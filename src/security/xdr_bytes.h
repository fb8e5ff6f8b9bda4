// The few XDR forms the envelope and the key exchange need, over plain byte
// buffers (big-endian words, opaque data padded to four bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zq::security::xdr {

constexpr size_t padded(size_t n) {
  return (n + 3) & ~size_t{3};
}
constexpr size_t opaqueSize(size_t n) {
  return 4 + padded(n);
}

inline uint8_t* putU32(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v >> 24);
  at[1] = static_cast<uint8_t>(v >> 16);
  at[2] = static_cast<uint8_t>(v >> 8);
  at[3] = static_cast<uint8_t>(v);
  return at + 4;
}

// Variable-length opaque: length word, bytes, zero padding.
inline uint8_t* putOpaque(uint8_t* at, const uint8_t* bytes, size_t n) {
  at = putU32(at, static_cast<uint32_t>(n));
  if (n) memcpy(at, bytes, n);
  memset(at + n, 0, padded(n) - n);
  return at + padded(n);
}

// Bounded reader: never reads past the bytes it was given.
class Reader {
 public:
  Reader(const uint8_t* data, size_t n) : at_(data), left_(data ? n : 0), total_(left_) {}
  bool u32(uint32_t& v) {
    if (left_ < 4) return false;
    v = (uint32_t{at_[0]} << 24) | (uint32_t{at_[1]} << 16) | (uint32_t{at_[2]} << 8) | at_[3];
    at_ += 4;
    left_ -= 4;
    return true;
  }
  bool opaque(const uint8_t*& bytes, size_t& n) {
    uint32_t len = 0;
    if (!u32(len) || len > left_ || padded(len) > left_) return false;
    bytes = at_;
    n = len;
    at_ += padded(len);
    left_ -= padded(len);
    return true;
  }
  // Fixed-length opaque of n bytes and its padding.
  bool fixed(const uint8_t*& bytes, size_t n) {
    if (padded(n) > left_) return false;
    bytes = at_;
    at_ += padded(n);
    left_ -= padded(n);
    return true;
  }
  bool atEnd() const { return left_ == 0; }
  size_t used() const { return total_ - left_; }

 private:
  const uint8_t* at_;
  size_t left_;
  size_t total_;
};

}  // namespace zq::security::xdr
