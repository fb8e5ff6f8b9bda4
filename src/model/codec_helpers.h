// Shorthands for shapes that recur across the descriptions, built on the
// visitor calls alone so that every visitor takes them as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "model/codec_base.h"

namespace zq::model {

// A list structure ({count, items}): its items by their own description, or
// by fn(v, item).
template <class V, class L>
void list(V& v, L& s, Label label = "items") {
  v.list(s.count, s.items, label);
}
template <class V, class L, class F>
requires(!std::is_convertible_v<F, Label>) void list(V& v, L& s, F&& fn, Label label = "items") {
  v.list(s.count, s.items, std::forward<F>(fn), label);
}

// Members that arrived with a protocol version: `if (since(v, 10)) ...`.
template <class V>
bool since(V& v, int version) {
  return v.version() >= version;
}

// A fixed-length opaque whose length is a multiple of four: its bytes read
// as big-endian words, which is how the wire carries them.
template <class V, size_t N>
void fixedOpaque(V& v, uint8_t (&bytes)[N], Label label) {
  static_assert(N % 4 == 0);
  for (size_t i = 0; i < N; i += 4) {
    uint32_t w = (uint32_t{bytes[i]} << 24) | (uint32_t{bytes[i + 1]} << 16) |
                 (uint32_t{bytes[i + 2]} << 8) | bytes[i + 3];
    v.u32(w, label);
    if constexpr (V::kPass == Pass::decode) {
      bytes[i] = static_cast<uint8_t>(w >> 24);
      bytes[i + 1] = static_cast<uint8_t>(w >> 16);
      bytes[i + 2] = static_cast<uint8_t>(w >> 8);
      bytes[i + 3] = static_cast<uint8_t>(w);
    }
  }
}

}  // namespace zq::model
