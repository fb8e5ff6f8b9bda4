// Command-record lines of structured arguments that have no writer of their
// own (form kinds, field limits, permission lists, archive settings ...):
// the structure's description walked in the record's building blocks, one
// value per line. Values and qualifications keep their own forms.
//
//   call.record(diag::Command::CreateSchema, name, diag::described(schema), ...);
//
// A described argument is optional: "T" and its lines, or "F" when null.
#pragma once

#include <cstring>
#include <string>
#include <type_traits>

#include "diag/record.h"
#include "model/model.h"
#include "model/describe.h"

namespace zq::diag {

using model::describe;

class RecordVisitor {
 public:
  // The members as memory holds them, as the trace print reads them.
  static constexpr model::Pass kPass = model::Pass::print;

  explicit RecordVisitor(CommandWriter& w) : w_(w) {}

  int version() const { return model::kNewestVersion; }
  bool ok() const { return true; }
  void fail() {}
  void badTag() {}
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }
  void suspend(model::Suspend) {}
  void resume(model::Suspend) {}

  void u32(uint32_t& x, model::Label = nullptr) { w_.u32(x); }
  void i32(int32_t& x, model::Label = nullptr) { w_.i32(x); }
  void real(double& x, model::Label = nullptr) {
    std::string line = std::to_string(x);
    w_.name(line.c_str());
  }
  void flag(ZQBoolean& b, model::Label = nullptr) { w_.boolean(b != 0); }
  uint32_t tag(uint32_t& t, uint32_t wireTag, uint32_t (*)(uint32_t, int),
               model::Label = nullptr) {
    w_.u32(t);
    return wireTag;
  }
  void u32Array(uint32_t* p, size_t n, model::Label = nullptr) {
    for (size_t i = 0; i < n; ++i) w_.u32(p[i]);
  }
  template <size_t M>
  void name(char (&buf)[M], model::NameKind, model::Label = nullptr) {
    fixed(buf, M);
  }
  template <size_t M>
  void name(char (&buf)[M], model::Label = nullptr) {
    fixed(buf, M);
  }
  void name(char* buf, size_t memWidth, size_t, model::Label = nullptr) { fixed(buf, memWidth); }
  void chars(char* buf, size_t memWidth, size_t, model::Label = nullptr) { fixed(buf, memWidth); }
  void string(char*& s, uint32_t = model::kUnbounded, model::Label = nullptr) { w_.longText(s); }
  void text(uint32_t& length, char*& bytes, model::Label = nullptr) {
    w_.longText(bytes ? std::string(bytes, strnlen(bytes, length)).c_str() : nullptr);
  }
  // Binary content is recorded by its size only.
  void bytes(uint32_t& size, unsigned char*& data, model::Label = nullptr) {
    w_.u32(data ? size : 0);
  }
  void byteArray(uint32_t& count, unsigned char*& data, model::Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, model::Label = nullptr) {
    if constexpr (std::is_same_v<T, ZQValueStruct>) {
      w_.value(&s);
    } else if constexpr (std::is_same_v<T, ZQQualifierStruct>) {
      w_.qualifier(&s);
    } else {
      if (depth_ >= kMaxDepth) return;
      ++depth_;
      describe(*this, s);
      --depth_;
    }
  }
  template <class T>
  void unowned(T&, model::Label = nullptr) {}
  template <class T>
  void list(uint32_t& count, T*& items, model::Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { v.member(item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, model::Label = nullptr) {
    const uint32_t n = items ? count : 0;
    w_.u32(n);
    for (uint32_t i = 0; i < n; ++i) fn(*this, items[i]);
  }
  template <class T>
  void pointer(T*& p, model::Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { v.member(node); }, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, model::Label = nullptr) {
    w_.boolean(p != nullptr);
    if (p && depth_ < kMaxDepth) {
      ++depth_;
      fn(*this, *p);
      --depth_;
    }
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, model::Label label = nullptr) {
    list(
        count, items, [&](auto& v, T*& item) { v.pointer(item, fn, label); }, label);
  }

 private:
  static constexpr unsigned kMaxDepth = 64;
  void fixed(const char* buf, size_t width) { w_.name(std::string(buf, strnlen(buf, width)).c_str()); }

  CommandWriter& w_;
  unsigned depth_ = 0;
};

// An optional number (with diag::optional): its value.
inline void writeArg(CommandWriter& w, const uint32_t* x) {
  w.u32(x ? *x : 0);
}

template <class T>
struct Described {
  const T* value;
};
template <class T>
Described<T> described(const T* value) {
  return {value};
}

template <class T>
void writeArg(CommandWriter& w, Described<T> d) {
  w.boolean(d.value != nullptr);
  if (!d.value) return;
  RecordVisitor r(w);
  r.member(const_cast<T&>(*d.value));
}

// A list of pointers to structures, each of which may be null (the
// per-field lists of the field calls): the count, then per item "T" and
// its lines, or "F".
template <class L>
struct DescribedItems {
  const L* list;
};
template <class L>
DescribedItems<L> describedItems(const L* list) {
  return {list};
}

template <class L>
void writeArg(CommandWriter& w, DescribedItems<L> d) {
  w.boolean(d.list != nullptr);
  if (!d.list) return;
  const uint32_t n = d.list->items ? d.list->count : 0;
  w.u32(n);
  RecordVisitor r(w);
  for (uint32_t i = 0; i < n; ++i) {
    w.boolean(d.list->items[i] != nullptr);
    if (d.list->items[i]) r.member(*d.list->items[i]);
  }
}

}  // namespace zq::diag
