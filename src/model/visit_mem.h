// The memory visitors: release and deep copy.
#pragma once

#include <cstring>
#include <type_traits>

#include "frame/frame.h"
#include "model/codec_base.h"

namespace zq::model {

class FreeVisitor;

// Reset rule of a structure released but kept (Free family): by default the
// visitor has already nulled every released pointer and emptied every list;
// a type whose rule asks for more (tags to 0, zero-filled) overloads this.
template <class T>
void resetFreed(FreeVisitor&, T&) {}

// Releases everything a structure owns. Released pointers become null and
// released lists empty, so a second release is harmless.
class FreeVisitor {
 public:
  static constexpr Pass kPass = Pass::release;

  int version() const { return kNewestVersion; }
  bool ok() const { return true; }
  void fail() {}
  void badTag() {}
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }

  void u32(uint32_t&, Label = nullptr) {}
  void i32(int32_t&, Label = nullptr) {}
  void flag(ZQBoolean&, Label = nullptr) {}
  void real(double&, Label = nullptr) {}
  uint32_t tag(uint32_t&, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label = nullptr) {
    return wireTag;
  }
  void u32Array(uint32_t*, size_t, Label = nullptr) {}
  template <size_t M>
  void name(char (&)[M], NameKind, Label = nullptr) {}
  template <size_t M>
  void name(char (&)[M], Label = nullptr) {}
  void name(char*, size_t, size_t, Label = nullptr) {}
  void chars(char*, size_t, size_t, Label = nullptr) {}

  void string(char*& s, uint32_t = kUnbounded, Label = nullptr) {
    zq::freeBlock(s);
    s = nullptr;
  }
  void text(uint32_t& length, char*& bytes, Label = nullptr) {
    zq::freeBlock(bytes);
    bytes = nullptr;
    length = 0;
  }
  void bytes(uint32_t& size, unsigned char*& data, Label = nullptr) {
    zq::freeBlock(data);
    data = nullptr;
    size = 0;
  }
  void byteArray(uint32_t& count, unsigned char*& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label = nullptr) {
    describe(*this, s);
    resetFreed(*this, s);
  }
  template <class T>
  void unowned(T&, Label = nullptr) {}
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { describe(v, item); }, label);
  }
  // Items are released only when both the count and the array are there; a
  // list with count 0 keeps whatever block it points to.
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label = nullptr) {
    if (count && items) {
      for (uint32_t i = 0; i < count; ++i) fn(*this, items[i]);
      zq::freeBlock(items);
    }
    count = 0;
    items = nullptr;
  }
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, Label = nullptr) {
    if (!p) return;
    fn(*this, *p);
    zq::freeBlock(p);
    p = nullptr;
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    list(
        count, items, [&](auto& v, T*& item) { v.pointer(item, fn, label); }, label);
  }

  void suspend(Suspend) {}
  void resume(Suspend) {}
};

// Makes a destination that starts as a shallow copy of its source own all of
// its memory: every string, array and node is duplicated in place. After the
// first failed allocation the visitor keeps walking but nulls what it has not
// duplicated yet, so the destination then holds only its own blocks and can
// be released.
class CopyVisitor {
 public:
  static constexpr Pass kPass = Pass::copy;

  int version() const { return kNewestVersion; }
  bool ok() const { return ok_; }
  void fail() {}
  void badTag() {}  // copies carry unknown tags by value
  void noMemory() { ok_ = false; }
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }

  void u32(uint32_t&, Label = nullptr) {}
  void i32(int32_t&, Label = nullptr) {}
  void flag(ZQBoolean&, Label = nullptr) {}
  void real(double&, Label = nullptr) {}
  uint32_t tag(uint32_t&, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label = nullptr) {
    return wireTag;
  }
  void u32Array(uint32_t*, size_t, Label = nullptr) {}
  template <size_t M>
  void name(char (&)[M], NameKind, Label = nullptr) {}
  template <size_t M>
  void name(char (&)[M], Label = nullptr) {}
  void name(char*, size_t, size_t, Label = nullptr) {}
  void chars(char*, size_t, size_t, Label = nullptr) {}

  void string(char*& s, uint32_t = kUnbounded, Label = nullptr) {
    if (!s) return;
    if (!ok_) {
      s = nullptr;
      return;
    }
    s = dupString(s);
    if (!s) ok_ = false;
  }
  void text(uint32_t& length, char*& bytes, Label = nullptr) {
    if (!bytes || !ok_) {
      bytes = nullptr;
      length = 0;
      return;
    }
    // Counted texts keep a terminator beyond their length.
    auto* copy = static_cast<char*>(zq::alloc(size_t{length} + 1));
    if (!copy) {
      ok_ = false;
      bytes = nullptr;
      length = 0;
      return;
    }
    memcpy(copy, bytes, length);
    copy[length] = '\0';
    bytes = copy;
  }
  void bytes(uint32_t& size, unsigned char*& data, Label = nullptr) {
    if (!data || !size || !ok_) {
      data = nullptr;
      if (!ok_) size = 0;
      return;
    }
    auto* copy = static_cast<unsigned char*>(zq::alloc(size));
    if (!copy) {
      ok_ = false;
      data = nullptr;
      size = 0;
      return;
    }
    memcpy(copy, data, size);
    data = copy;
  }
  void byteArray(uint32_t& count, unsigned char*& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label = nullptr) {
    describe(*this, s);
  }
  // Not owned by the parent: the copy does not carry it.
  template <class T>
  void unowned(T& s, Label = nullptr) {
    memset(static_cast<void*>(&s), 0, sizeof s);
  }
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { describe(v, item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label = nullptr) {
    if (!count || !items || !ok_) {
      count = 0;
      items = nullptr;
      return;
    }
    auto* copy = static_cast<T*>(zq::alloc(size_t{count} * sizeof(T)));
    if (!copy) {
      ok_ = false;
      count = 0;
      items = nullptr;
      return;
    }
    memcpy(static_cast<void*>(copy), items, size_t{count} * sizeof(T));
    items = copy;
    for (uint32_t i = 0; i < count; ++i) fn(*this, items[i]);
  }
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, Label = nullptr) {
    if (!p) return;
    if (!ok_) {
      p = nullptr;
      return;
    }
    auto* node = static_cast<T*>(zq::alloc(sizeof(T)));
    if (!node) {
      ok_ = false;
      p = nullptr;
      return;
    }
    memcpy(static_cast<void*>(node), p, sizeof(T));
    p = node;
    fn(*this, *p);
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    list(
        count, items, [&](auto& v, T*& item) { v.pointer(item, fn, label); }, label);
  }

  void suspend(Suspend) {}
  void resume(Suspend) {}

 private:
  bool ok_ = true;
};

// A flat list copied into an array with room for the next multiple of step
// items, the spare slots zeroed (copies give name lists and id lists room to
// grow). An empty source gives an empty destination. False, with the
// destination empty, when memory runs out.
template <class List>
bool copyWithSpare(List& destination, const List& source, uint32_t step) {
  if (!source.count || !source.items) {
    destination.count = 0;
    destination.items = nullptr;
    return true;
  }
  using Item = std::remove_pointer_t<decltype(source.items)>;
  const size_t room = size_t{source.count / step} * step + step;
  auto* items = static_cast<Item*>(allocZeroed(room, sizeof(Item)));
  if (!items) {
    destination.count = 0;
    destination.items = nullptr;
    return false;
  }
  memcpy(static_cast<void*>(items), source.items, size_t{source.count} * sizeof(Item));
  destination.items = items;
  destination.count = source.count;
  return true;
}

}  // namespace zq::model
