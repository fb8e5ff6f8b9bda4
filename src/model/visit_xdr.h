// The wire visitors: XDR encode, encoded size and XDR decode.
//
// On aligned memory streams (xdrmem_create) the visitors take the whole
// remaining buffer at once with XDR_INLINE and work on it directly; on other
// streams (the RPC library's record streams) they go through the stream's
// operations. Both produce the same bytes.
#pragma once

#include <rpc/xdr.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "frame/frame.h"
#include "model/codec_base.h"

namespace zq::model {

bool isAlignedMemoryStream(const XDR* xdrs);

inline constexpr size_t padded(size_t n) {
  return (n + 3) & ~size_t{3};
}

// ---- byte sinks and sources --------------------------------------------------

class XdrWriter {
 public:
  explicit XdrWriter(XDR* xdrs) : xdrs_(xdrs) {
    if (isAlignedMemoryStream(xdrs)) {
      startPos_ = xdr_getpos(xdrs);
      const u_int room = xdrs->x_handy;
      start_ = cur_ = reinterpret_cast<char*>(XDR_INLINE(xdrs, room));
      if (cur_) {
        end_ = cur_ + room;
        windowed_ = true;
      }
    }
  }
  // Gives the unused part of the window back to the stream.
  void finish() {
    if (windowed_) {
      xdr_setpos(xdrs_, startPos_ + static_cast<u_int>(cur_ - start_));
      windowed_ = false;
    }
  }

  bool put32(uint32_t v) {
    if (end_ - cur_ >= 4) {
      v = htonl(v);
      memcpy(cur_, &v, 4);
      cur_ += 4;
      return true;
    }
    if (windowed_) return false;
    int32_t word = static_cast<int32_t>(v);
    return XDR_PUTINT32(xdrs_, &word);
  }
  // n bytes and zero padding to a multiple of 4.
  bool putBytes(const void* data, size_t n) {
    const size_t total = padded(n);
    if (total == 0) return true;
    if (static_cast<size_t>(end_ - cur_) >= total) {
      if (n) memcpy(cur_, data, n);
      memset(cur_ + n, 0, total - n);
      cur_ += total;
      return true;
    }
    if (windowed_ || n > 0xFFFFFFFFu) return false;
    static const char zeros[4] = {};
    if (n && !XDR_PUTBYTES(xdrs_, static_cast<const char*>(data), static_cast<u_int>(n)))
      return false;
    return total == n || XDR_PUTBYTES(xdrs_, zeros, static_cast<u_int>(total - n));
  }

 private:
  XDR* xdrs_;
  char* start_ = nullptr;
  char* cur_ = nullptr;
  char* end_ = nullptr;
  u_int startPos_ = 0;
  bool windowed_ = false;
};

// Counts what a writer would write.
class CountingSink {
 public:
  bool put32(uint32_t) {
    total_ += 4;
    return true;
  }
  bool putBytes(const void*, size_t n) {
    total_ += padded(n);
    return true;
  }
  void finish() {}
  size_t total() const { return total_; }

 private:
  size_t total_ = 0;
};

class XdrReader {
 public:
  explicit XdrReader(XDR* xdrs) : xdrs_(xdrs) {
    if (isAlignedMemoryStream(xdrs)) {
      startPos_ = xdr_getpos(xdrs);
      const u_int room = xdrs->x_handy;
      start_ = cur_ = reinterpret_cast<const char*>(XDR_INLINE(xdrs, room));
      if (cur_) {
        end_ = cur_ + room;
        windowed_ = true;
      }
    }
  }
  void finish() {
    if (windowed_) {
      xdr_setpos(xdrs_, startPos_ + static_cast<u_int>(cur_ - start_));
      windowed_ = false;
    }
  }
  // Bytes left in the stream; unknown (SIZE_MAX) on streams other than memory.
  size_t left() const { return windowed_ ? static_cast<size_t>(end_ - cur_) : SIZE_MAX; }
  bool bounded() const { return windowed_; }

  bool get32(uint32_t& v) {
    if (end_ - cur_ >= 4) {
      memcpy(&v, cur_, 4);
      v = ntohl(v);
      cur_ += 4;
      return true;
    }
    if (windowed_) return false;
    int32_t word;
    if (!XDR_GETINT32(xdrs_, &word)) return false;
    v = static_cast<uint32_t>(word);
    return true;
  }
  // n bytes (without the padding).
  bool getRaw(void* data, size_t n) {
    if (static_cast<size_t>(end_ - cur_) >= n) {
      if (n) memcpy(data, cur_, n);
      cur_ += n;
      return true;
    }
    if (windowed_ || n > 0xFFFFFFFFu) return false;
    return n == 0 || XDR_GETBYTES(xdrs_, static_cast<char*>(data), static_cast<u_int>(n));
  }
  bool skipPadding(size_t n) {
    char pad[4];
    return getRaw(pad, padded(n) - n);
  }
  bool getBytes(void* data, size_t n) { return getRaw(data, n) && skipPadding(n); }

 private:
  XDR* xdrs_;
  const char* start_ = nullptr;
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  u_int startPos_ = 0;
  bool windowed_ = false;
};

// ---- encoding (and sizing, with a counting sink) ------------------------------

template <class Sink>
class EncodeVisitor {
 public:
  static constexpr Pass kPass = std::is_same_v<Sink, CountingSink> ? Pass::size : Pass::encode;

  EncodeVisitor(Sink& sink, int version, ZQThreadContext* ctx)
      : sink_(sink), version_(version), ctx_(ctx) {}

  int version() const { return version_; }
  bool ok() const { return ok_; }
  void fail() { ok_ = false; }
  void badTag() { ok_ = false; }

  template <class F>
  void withVersion(int version, F&& fn) {
    const int saved = version_;
    version_ = version;
    fn();
    version_ = saved;
  }

  void u32(const uint32_t& v, Label = nullptr) {
    if (ok_ && !sink_.put32(v)) ok_ = false;
  }
  void i32(const int32_t& v, Label = nullptr) { u32(static_cast<uint32_t>(v)); }
  void flag(const ZQBoolean& v, Label = nullptr) { u32(v); }
  void real(const double& v, Label = nullptr) {
    uint64_t bits;
    memcpy(&bits, &v, 8);
    u32(static_cast<uint32_t>(bits >> 32));
    u32(static_cast<uint32_t>(bits));
  }
  // Writes the wire tag (the member's tag mapped for this version).
  uint32_t tag(const uint32_t&, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label = nullptr) {
    u32(wireTag);
    return wireTag;
  }
  void u32Array(const uint32_t* items, size_t n, Label = nullptr) {
    for (size_t i = 0; i < n && ok_; ++i) u32(items[i]);
  }

  // ---- texts ----
  template <size_t M>
  void name(const char (&buf)[M], NameKind kind, Label label = nullptr) {
    name(buf, M, nameWireWidth(kind, version_), label);
  }
  template <size_t M>
  void name(const char (&buf)[M], Label label = nullptr) {
    name(buf, M, M, label);
  }
  void name(const char* buf, size_t memWidth, size_t wireWidth, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    const size_t len = strnlen(buf, memWidth);
    const char* src = buf;
    size_t n = len;
    if (len && conversionActive(ctx_, Counter::names)) {
      if (!convertToServer(ctx_, buf, len, scratch_)) return fail();
      src = scratch_.data();
      n = scratch_.size();
    }
    n = std::min(n, wireWidth);  // a longer name is cut at the wire width
    if (n == wireWidth) {
      if (!sink_.putBytes(src, n)) fail();
      return;
    }
    char small[260];
    std::string big;
    char* out = small;
    if (wireWidth > sizeof small) {
      big.assign(wireWidth, '\0');
      out = big.data();
    }
    memcpy(out, src, n);
    memset(out + n, 0, wireWidth - n);
    if (!sink_.putBytes(out, wireWidth)) fail();
  }
  void string(char* const& s, uint32_t max = kUnbounded, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    if (!s) return u32(0);  // a null string travels as an empty one
    const char* src = s;
    size_t n = strlen(s);
    if (n && conversionActive(ctx_, Counter::names)) {
      if (!convertToServer(ctx_, s, n, scratch_)) return fail();
      src = scratch_.data();
      n = scratch_.size();
    }
    if (n > max) return fail();
    u32(static_cast<uint32_t>(n));
    if (ok_ && !sink_.putBytes(src, n)) fail();
  }
  // Counted text: converted, it travels with its terminator.
  void text(const uint32_t& length, char* const& bytes, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    if (!bytes || !length) return u32(0);
    if (conversionActive(ctx_, Counter::texts)) {
      const size_t n = strnlen(bytes, length);
      if (!convertToServer(ctx_, bytes, n, scratch_)) return fail();
      scratch_.push_back('\0');
      u32(static_cast<uint32_t>(scratch_.size()));
      if (ok_ && !sink_.putBytes(scratch_.data(), scratch_.size())) fail();
      return;
    }
    u32(length);
    if (ok_ && !sink_.putBytes(bytes, length)) fail();
  }
  // Fixed character array: one character per 4-byte unit.
  void chars(const char* buf, size_t memWidth, size_t wireWidth, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    const size_t len = strnlen(buf, memWidth);
    const char* src = buf;
    size_t n = len;
    if (len && conversionActive(ctx_, Counter::texts)) {
      if (!convertToServer(ctx_, buf, len, scratch_)) return fail();
      src = scratch_.data();
      n = scratch_.size();
    }
    if (n >= wireWidth) return fail();
    for (size_t i = 0; i < wireWidth && ok_; ++i)
      u32(i < n ? static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(src[i])))
                : 0);
  }
  // Opaque counted bytes (xdr_bytes).
  void bytes(const uint32_t& size, unsigned char* const& data, Label = nullptr) {
    if (!ok_) return;
    const uint32_t n = data ? size : 0;
    u32(n);
    if (ok_ && !sink_.putBytes(data, n)) fail();
  }
  // Bytes one per 4-byte unit (xdr_array of xdr_u_char).
  void byteArray(const uint32_t& count, unsigned char* const& data, Label = nullptr) {
    const uint32_t n = data ? count : 0;
    u32(n);
    for (uint32_t i = 0; i < n && ok_; ++i) u32(data[i]);
  }

  // ---- structure ----
  template <class T>
  void member(T& s, Label = nullptr) {
    if (ok_) describe(*this, s);
  }
  template <class T>
  void unowned(T& s, Label label = nullptr) {
    member(s, label);
  }
  template <class T>
  void list(const uint32_t& count, T* const& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { describe(v, item); }, label);
  }
  template <class T, class F>
  void list(const uint32_t& count, T* const& items, F&& fn, Label = nullptr) {
    const uint32_t n = items ? count : 0;
    u32(n);
    for (uint32_t i = 0; i < n && ok_; ++i) fn(*this, items[i]);
  }
  template <class T>
  void pointer(T* const& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T* const& p, F&& fn, Label = nullptr) {
    u32(p ? 1 : 0);
    if (p && ok_) fn(*this, *p);
  }
  // A list of owned pointers, each pointed-to item travelling as an optional node.
  template <class T, class F>
  void ptrList(const uint32_t& count, T* const* const& items, F&& fn, Label label = nullptr) {
    const uint32_t n = items ? count : 0;
    u32(n);
    for (uint32_t i = 0; i < n && ok_; ++i) pointer(items[i], fn, label);
  }

  // ---- pseudo-members ----
  void suspend(Suspend what) { adjust(what, +1); }
  void resume(Suspend what) { adjust(what, -1); }

 private:
  void adjust(Suspend what, int delta) {
    if (!ctx_) return;
    ctx_->suspendNameConversion = static_cast<uint8_t>(ctx_->suspendNameConversion + delta);
    if (what == Suspend::binaryText)
      ctx_->suspendTextConversion = static_cast<uint8_t>(ctx_->suspendTextConversion + delta);
  }

  Sink& sink_;
  int version_;
  ZQThreadContext* ctx_;
  bool ok_ = true;
  std::string scratch_;
};

// ---- decoding -------------------------------------------------------------------

// Decoding fills a structure that starts zeroed. Lists and nodes are allocated
// zeroed and counted before their items are read, so that a decoding that
// stops midway leaves a structure its free function can release.
class DecodeVisitor {
 public:
  static constexpr Pass kPass = Pass::decode;

  DecodeVisitor(XdrReader& in, int version, ZQThreadContext* ctx)
      : in_(in), version_(version), ctx_(ctx) {}

  int version() const { return version_; }
  bool ok() const { return ok_; }
  void fail() { ok_ = false; }
  void badTag() { ok_ = false; }

  template <class F>
  void withVersion(int version, F&& fn) {
    const int saved = version_;
    version_ = version;
    fn();
    version_ = saved;
  }

  void u32(uint32_t& v, Label = nullptr) {
    if (ok_ && !in_.get32(v)) ok_ = false;
  }
  void i32(int32_t& v, Label = nullptr) {
    uint32_t w = 0;
    u32(w);
    v = static_cast<int32_t>(w);
  }
  void flag(ZQBoolean& v, Label = nullptr) {
    uint32_t w = 0;
    u32(w);
    v = static_cast<ZQBoolean>(w);
  }
  void real(double& v, Label = nullptr) {
    uint32_t hi = 0, lo = 0;
    u32(hi);
    u32(lo);
    const uint64_t bits = (static_cast<uint64_t>(hi) << 32) | lo;
    memcpy(&v, &bits, 8);
  }
  uint32_t tag(uint32_t& member, uint32_t, uint32_t (*toMemory)(uint32_t, int), Label = nullptr) {
    uint32_t wire = 0;
    u32(wire);
    if (!ok_) return 0xFFFFFFFFu;
    member = toMemory ? toMemory(wire, version_) : wire;
    return wire;
  }
  void u32Array(uint32_t* items, size_t n, Label = nullptr) {
    for (size_t i = 0; i < n && ok_; ++i) u32(items[i]);
  }

  // ---- texts ----
  template <size_t M>
  void name(char (&buf)[M], NameKind kind, Label label = nullptr) {
    name(buf, M, nameWireWidth(kind, version_), label);
  }
  template <size_t M>
  void name(char (&buf)[M], Label label = nullptr) {
    name(buf, M, M, label);
  }
  void name(char* buf, size_t memWidth, size_t wireWidth, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    char small[260];
    std::string big;
    char* wire = small;
    if (wireWidth > sizeof small) {
      big.assign(wireWidth, '\0');
      wire = big.data();
    }
    if (!in_.getBytes(wire, wireWidth)) return fail();
    const char* src = wire;
    size_t n = strnlen(wire, wireWidth);
    if (n && conversionActive(ctx_, Counter::names)) {
      if (!convertToClient(ctx_, wire, n, scratch_)) return fail();
      src = scratch_.data();
      n = strnlen(scratch_.data(), scratch_.size());
    }
    // At most width - 1 characters: the last byte of a name is its terminator.
    n = std::min(n, std::min(memWidth, wireWidth) - 1);
    memcpy(buf, src, n);
    memset(buf + n, 0, memWidth - n);
  }
  void string(char*& s, uint32_t max = kUnbounded, Label = nullptr) {
    s = nullptr;
    if (!ok_) return;
    if (!ctx_) return fail();
    uint32_t n = 0;
    u32(n);
    if (!ok_) return;
    if (n > max) return fail();
    char* raw = readBlock(n, 1);
    if (!raw) return fail();
    raw[n] = '\0';
    if (n && conversionActive(ctx_, Counter::names)) {
      const bool converted = convertToClient(ctx_, raw, strlen(raw), scratch_);
      zq::freeBlock(raw);
      if (!converted) return fail();
      raw = dupString(scratch_.c_str());
      if (!raw) return fail();
    }
    s = raw;
  }
  void text(uint32_t& length, char*& bytes, Label = nullptr) {
    length = 0;
    bytes = nullptr;
    if (!ok_) return;
    if (!ctx_) return fail();
    uint32_t n = 0;
    u32(n);
    if (!ok_ || n == 0) return;
    char* raw = readBlock(n, 1);
    if (!raw) return fail();
    raw[n] = '\0';  // kept beyond the length so that a text is always terminated
    if (conversionActive(ctx_, Counter::texts)) {
      const bool converted = convertToClient(ctx_, raw, strnlen(raw, n), scratch_);
      zq::freeBlock(raw);
      if (!converted) return fail();
      raw = dupString(scratch_.c_str());
      if (!raw) return fail();
      n = static_cast<uint32_t>(strlen(raw));
    }
    bytes = raw;
    length = n;
  }
  void chars(char* buf, size_t memWidth, size_t wireWidth, Label = nullptr) {
    if (!ok_) return;
    if (!ctx_) return fail();
    if (wireWidth * 4 > in_.left()) return fail();
    std::string wire(wireWidth, '\0');
    for (size_t i = 0; i < wireWidth && ok_; ++i) {
      uint32_t c = 0;
      u32(c);
      wire[i] = static_cast<char>(c);
    }
    if (!ok_) return;
    size_t n = strnlen(wire.data(), wireWidth);
    const char* src = wire.data();
    if (n && conversionActive(ctx_, Counter::texts)) {
      if (!convertToClient(ctx_, wire.data(), n, scratch_)) return fail();
      src = scratch_.data();
      n = strnlen(scratch_.data(), scratch_.size());
    }
    if (n >= memWidth || n >= wireWidth) return fail();
    memcpy(buf, src, n);
    memset(buf + n, 0, memWidth - n);
  }
  void bytes(uint32_t& size, unsigned char*& data, Label = nullptr) {
    size = 0;
    data = nullptr;
    uint32_t n = 0;
    u32(n);
    if (!ok_ || n == 0) return;
    data = reinterpret_cast<unsigned char*>(readBlock(n, 0));
    if (!data) return fail();
    size = n;
  }
  void byteArray(uint32_t& count, unsigned char*& data, Label = nullptr) {
    count = 0;
    data = nullptr;
    uint32_t n = 0;
    u32(n);
    if (!ok_ || n == 0) return;
    if (static_cast<uint64_t>(n) * 4 > in_.left()) return fail();
    // Grown as the bytes arrive when the stream's length is unknown.
    uint32_t cap = in_.bounded() ? n : std::min<uint32_t>(n, kGrowStep);
    data = static_cast<unsigned char*>(zq::alloc(cap));
    if (!data) return fail();
    count = 0;
    for (uint32_t i = 0; i < n; ++i) {
      if (i == cap) {
        const uint32_t bigger = static_cast<uint32_t>(std::min<uint64_t>(n, uint64_t{cap} * 2));
        auto* grown = static_cast<unsigned char*>(zq::reallocate(data, bigger));
        if (!grown) return fail();
        data = grown;
        cap = bigger;
      }
      uint32_t w = 0;
      u32(w);
      if (!ok_) return;
      data[i] = static_cast<unsigned char>(w);
      count = i + 1;
    }
  }

  // ---- structure ----
  template <class T>
  void member(T& s, Label = nullptr) {
    if (ok_) describe(*this, s);
  }
  // Travels on the wire but is not owned by its parent: read, then dropped.
  template <class T>
  void unowned(T& s, Label label = nullptr);
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { describe(v, item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label = nullptr) {
    count = 0;
    items = nullptr;
    uint32_t n = 0;
    u32(n);
    if (!ok_ || n == 0) return;
    // Every item takes at least one 4-byte unit. Items are larger in memory
    // than on the wire (a few kilobytes for some), so the first block is
    // bounded in bytes and big lists grow with what actually arrives: a count
    // the bytes never back costs little.
    if (static_cast<uint64_t>(n) * 4 > in_.left()) return fail();
    uint32_t cap = std::min<uint32_t>(
        n, std::max<uint32_t>(kFirstItems, static_cast<uint32_t>(kFirstBlock / sizeof(T))));
    items = static_cast<T*>(zq::allocZeroed(cap, sizeof(T)));
    if (!items) return fail();
    count = cap;
    for (uint32_t i = 0; i < n; ++i) {
      if (i == cap) {
        const uint32_t bigger = static_cast<uint32_t>(std::min<uint64_t>(n, uint64_t{cap} * 2));
        auto* grown = static_cast<T*>(zq::reallocate(items, size_t{bigger} * sizeof(T)));
        if (!grown) return fail();
        memset(static_cast<void*>(grown + cap), 0, size_t{bigger - cap} * sizeof(T));
        items = grown;
        count = cap = bigger;
      }
      fn(*this, items[i]);
      if (!ok_) return;
    }
  }
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, Label = nullptr) {
    p = nullptr;
    uint32_t present = 0;
    u32(present);
    if (!ok_ || !present) return;
    if (depth_ >= kMaxDecodeDepth) return fail();
    p = static_cast<T*>(zq::allocZeroed(1, sizeof(T)));
    if (!p) return fail();
    ++depth_;
    fn(*this, *p);
    --depth_;
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    list(
        count, items, [&](auto& v, T*& item) { v.pointer(item, fn, label); }, label);
  }

  // ---- pseudo-members ----
  void suspend(Suspend what) { adjust(what, +1); }
  void resume(Suspend what) { adjust(what, -1); }

 private:
  static constexpr uint32_t kGrowStep = 4096;
  static constexpr size_t kFirstBlock = 16384;  // bytes of a list's first block
  static constexpr uint32_t kFirstItems = 4;

  // n bytes from the stream (padding consumed) in a new block with room for
  // extra more bytes; null on failure. On streams of unknown length the block
  // grows with what actually arrives, so a false length cannot make us
  // allocate more than was sent.
  char* readBlock(uint32_t n, size_t extra) {
    if (n > in_.left()) return nullptr;
    if (in_.bounded() || n <= kBlockStep) {
      auto* block = static_cast<char*>(zq::alloc(size_t{n} + extra));
      if (!block) return nullptr;
      if (!in_.getBytes(block, n)) {
        zq::freeBlock(block);
        return nullptr;
      }
      return block;
    }
    char* block = nullptr;
    size_t have = 0;
    while (have < n) {
      const size_t step = std::min<size_t>(n - have, std::max<size_t>(have, kBlockStep));
      auto* grown = static_cast<char*>(zq::reallocate(block, have + step + extra));
      if (!grown) {
        zq::freeBlock(block);
        return nullptr;
      }
      block = grown;
      if (!in_.getRaw(block + have, step)) {
        zq::freeBlock(block);
        return nullptr;
      }
      have += step;
    }
    if (!in_.skipPadding(n)) {
      zq::freeBlock(block);
      return nullptr;
    }
    return block;
  }

  void adjust(Suspend what, int delta) {
    if (!ctx_ || what != Suspend::binaryText) return;  // id-102 values convert when decoded
    ctx_->suspendNameConversion = static_cast<uint8_t>(ctx_->suspendNameConversion + delta);
    ctx_->suspendTextConversion = static_cast<uint8_t>(ctx_->suspendTextConversion + delta);
  }

  static constexpr uint32_t kBlockStep = 65536;

  XdrReader& in_;
  int version_;
  ZQThreadContext* ctx_;
  bool ok_ = true;
  unsigned depth_ = 0;
  std::string scratch_;
};

}  // namespace zq::model
