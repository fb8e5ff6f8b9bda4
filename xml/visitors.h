// Structures to and from XML through their one description (model/describe*.h,
// transport/describe*.h): each member becomes an element named by its label,
// a list an element of <item> children, a null pointer or string an element
// with nil="true". The reader walks the elements in the order the description
// visits them and fails on the first one that does not fit; what it filled
// before is owned by the structure, so its Free function releases it.
#pragma once

#include <libxml/tree.h>

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/describe.h"

namespace zq::xmlutil {

using model::describe;
using model::Label;
using model::NameKind;
using model::Pass;
using model::Suspend;

inline const xmlChar* X(const char* s) {
  return reinterpret_cast<const xmlChar*>(s);
}
inline const char* C(const xmlChar* s) {
  return reinterpret_cast<const char*>(s);
}
// The element name of a member: its label when that is a name already,
// else the label in camel case without its blanks and punctuation
// ("   Operation:" gives "operation", "User or Time:" "userOrTime").
inline std::string orValue(Label label) {
  if (!label) return "value";
  auto nameStart = [](char c) { return isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  auto nameChar = [](char c) {
    return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
  };
  bool valid = nameStart(label[0]);
  for (const char* p = label; valid && *p; ++p) valid = nameChar(*p);
  if (valid) return label;
  std::string out;
  bool upper = false;
  for (const char* p = label; *p; ++p) {
    if (!isalnum(static_cast<unsigned char>(*p))) {
      upper = !out.empty();
      continue;
    }
    char c = *p;
    if (out.empty()) {
      if (!nameStart(c)) out += '_';
      c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    } else if (upper) {
      c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    upper = false;
    out += c;
  }
  return out.empty() ? "value" : out;
}

std::string toHex(const unsigned char* data, size_t n);
// False when the text is not an even number of hex digits.
bool fromHex(const char* text, std::string& out);

class XmlWriter {
 public:
  static constexpr Pass kPass = Pass::encode;

  explicit XmlWriter(xmlNodePtr parent) : parent_(parent) {}

  int version() const { return model::kNewestVersion; }
  bool ok() const { return ok_; }
  void fail() { ok_ = false; }
  void badTag() { ok_ = false; }
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }

  void u32(const uint32_t& v, Label label = nullptr) { number(label, "%" PRIu32, v); }
  void i32(const int32_t& v, Label label = nullptr) { number(label, "%" PRId32, v); }
  void flag(const ZQBoolean& v, Label label = nullptr) { number(label, "%u", unsigned{v}); }
  void real(const double& v, Label label = nullptr) { number(label, "%.17g", v); }
  uint32_t tag(const uint32_t&, uint32_t wireTag, uint32_t (*)(uint32_t, int),
               Label label = nullptr) {
    u32(wireTag, label);
    return wireTag;
  }
  void u32Array(const uint32_t* items, size_t n, Label label = nullptr) {
    xmlNodePtr saved = open(label);
    for (size_t i = 0; i < n; ++i) u32(items[i], "item");
    parent_ = saved;
  }
  template <size_t M>
  void name(const char (&buf)[M], NameKind, Label label = nullptr) {
    name(buf, M, M, label);
  }
  template <size_t M>
  void name(const char (&buf)[M], Label label = nullptr) {
    name(buf, M, M, label);
  }
  void name(const char* buf, size_t memWidth, size_t, Label label = nullptr) {
    textElement(label, std::string(buf, strnlen(buf, memWidth)).c_str());
  }
  void chars(const char* buf, size_t memWidth, size_t wireWidth, Label label = nullptr) {
    name(buf, memWidth, wireWidth, label);
  }
  void string(char* const& s, uint32_t = model::kUnbounded, Label label = nullptr) {
    if (!s) return nil(label);
    textElement(label, s);
  }
  // A counted text keeps its length: it may count a terminator.
  void text(const uint32_t& length, char* const& bytes, Label label = nullptr) {
    if (!bytes) return nil(label);
    xmlNodePtr node = textElement(label, std::string(bytes, strnlen(bytes, length)).c_str());
    if (node) setNumber(node, "length", length);
  }
  void bytes(const uint32_t& size, unsigned char* const& data, Label label = nullptr) {
    if (!data) return nil(label);
    textElement(label, toHex(data, size).c_str());
  }
  void byteArray(const uint32_t& count, unsigned char* const& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label label = nullptr) {
    if (!ok_) return;
    xmlNodePtr saved = open(label);
    if (!ok_) return;
    describe(*this, s);
    parent_ = saved;
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
  void list(const uint32_t& count, T* const& items, F&& fn, Label label = nullptr) {
    if (!ok_) return;
    xmlNodePtr saved = open(label);
    const uint32_t n = items ? count : 0;
    for (uint32_t i = 0; i < n && ok_; ++i) {
      xmlNodePtr list = open("item");
      fn(*this, items[i]);
      parent_ = list;
    }
    parent_ = saved;
  }
  template <class T>
  void pointer(T* const& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T* const& p, F&& fn, Label label = nullptr) {
    if (!p) return nil(label);
    if (!ok_) return;
    xmlNodePtr saved = open(label);
    fn(*this, *p);
    parent_ = saved;
  }
  template <class T, class F>
  void ptrList(const uint32_t& count, T* const* const& items, F&& fn, Label label = nullptr) {
    if (!ok_) return;
    xmlNodePtr saved = open(label);
    const uint32_t n = items ? count : 0;
    for (uint32_t i = 0; i < n && ok_; ++i) pointer(items[i], fn, "item");
    parent_ = saved;
  }
  void suspend(Suspend) {}
  void resume(Suspend) {}

 private:
  // Opens a child element and makes it the parent; returns the old parent.
  xmlNodePtr open(Label label) {
    xmlNodePtr saved = parent_;
    xmlNodePtr node = xmlNewChild(parent_, nullptr, X(orValue(label).c_str()), nullptr);
    if (!node) {
      ok_ = false;
      return saved;
    }
    parent_ = node;
    return saved;
  }
  xmlNodePtr textElement(Label label, const char* text) {
    if (!ok_) return nullptr;
    xmlNodePtr node = xmlNewTextChild(parent_, nullptr, X(orValue(label).c_str()), X(text));
    if (!node) ok_ = false;
    return node;
  }
  void nil(Label label) {
    if (xmlNodePtr node = textElement(label, "")) xmlSetProp(node, X("nil"), X("true"));
  }
  template <class N>
  void number(Label label, const char* fmt, N v) {
    char buf[40];
    snprintf(buf, sizeof buf, fmt, v);
    textElement(label, buf);
  }
  void setNumber(xmlNodePtr node, const char* attr, uint32_t v) {
    char buf[16];
    snprintf(buf, sizeof buf, "%" PRIu32, v);
    xmlSetProp(node, X(attr), X(buf));
  }

  xmlNodePtr parent_;
  bool ok_ = true;
};

// Reading fills a structure that starts zeroed, as the wire decoder does.
class XmlReader {
 public:
  static constexpr Pass kPass = Pass::decode;
  static constexpr unsigned kMaxDepth = 64;

  // Reads the element children of parent, from its first.
  explicit XmlReader(xmlNodePtr parent) { enter(parent); }

  int version() const { return model::kNewestVersion; }
  bool ok() const { return ok_; }
  void fail() { ok_ = false; }
  void badTag() { ok_ = false; }
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }
  // The element that made reading fail (or null).
  const char* failedAt() const { return failedAt_.c_str(); }

  void u32(uint32_t& v, Label label = nullptr) {
    unsigned long long n = 0;
    if (unsignedNumber(label, n, UINT32_MAX)) v = static_cast<uint32_t>(n);
  }
  void i32(int32_t& v, Label label = nullptr) {
    std::string s;
    if (!content(label, s)) return;
    char* end = nullptr;
    errno = 0;
    long long n = strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end || errno || n < INT32_MIN || n > INT32_MAX) return failHere(label);
    v = static_cast<int32_t>(n);
  }
  void flag(ZQBoolean& v, Label label = nullptr) {
    unsigned long long n = 0;
    if (unsignedNumber(label, n, 255)) v = static_cast<ZQBoolean>(n);
  }
  void real(double& v, Label label = nullptr) {
    std::string s;
    if (!content(label, s)) return;
    char* end = nullptr;
    double d = strtod(s.c_str(), &end);
    if (s.empty() || *end) return failHere(label);
    v = d;
  }
  uint32_t tag(uint32_t& member, uint32_t, uint32_t (*toMemory)(uint32_t, int),
               Label label = nullptr) {
    uint32_t wire = 0;
    u32(wire, label);
    if (!ok_) return 0xFFFFFFFFu;
    member = toMemory ? toMemory(wire, version()) : wire;
    return wire;
  }
  void u32Array(uint32_t* items, size_t n, Label label = nullptr) {
    xmlNodePtr node = next(label);
    if (!node) return;
    enter(node);
    for (size_t i = 0; i < n && ok_; ++i) u32(items[i], "item");
    leave();
  }
  template <size_t M>
  void name(char (&buf)[M], NameKind, Label label = nullptr) {
    name(buf, M, M, label);
  }
  template <size_t M>
  void name(char (&buf)[M], Label label = nullptr) {
    name(buf, M, M, label);
  }
  void name(char* buf, size_t memWidth, size_t, Label label = nullptr) {
    std::string s;
    if (!content(label, s)) return;
    if (s.size() >= memWidth) return failHere(label);
    memcpy(buf, s.data(), s.size());
    memset(buf + s.size(), 0, memWidth - s.size());
  }
  void chars(char* buf, size_t memWidth, size_t wireWidth, Label label = nullptr) {
    name(buf, memWidth, wireWidth, label);
  }
  void string(char*& s, uint32_t max = model::kUnbounded, Label label = nullptr) {
    s = nullptr;
    std::string text;
    bool isNil = false;
    if (!content(label, text, &isNil) || isNil) return;
    if (text.size() > max) return failHere(label);
    s = dupString(text.c_str());
    if (!s) fail();
  }
  void text(uint32_t& length, char*& bytes, Label label = nullptr) {
    length = 0;
    bytes = nullptr;
    std::string text;
    bool isNil = false;
    xmlNodePtr node = nullptr;
    if (!content(label, text, &isNil, &node) || isNil) return;
    uint32_t n = static_cast<uint32_t>(text.size());
    if (xmlChar* attr = xmlGetProp(node, X("length"))) {
      char* end = nullptr;
      unsigned long long given = strtoull(C(attr), &end, 10);
      const bool bad = *end || given < text.size() || given > text.size() + 1;
      xmlFree(attr);
      if (bad) return failHere(label);
      n = static_cast<uint32_t>(given);
    }
    bytes = static_cast<char*>(zq::allocZeroed(size_t{n} + 1, 1));
    if (!bytes) return fail();
    memcpy(bytes, text.data(), text.size());
    length = n;
  }
  void bytes(uint32_t& size, unsigned char*& data, Label label = nullptr) {
    size = 0;
    data = nullptr;
    std::string text, raw;
    bool isNil = false;
    if (!content(label, text, &isNil) || isNil) return;
    if (!fromHex(text.c_str(), raw)) return failHere(label);
    if (raw.empty()) return;
    data = static_cast<unsigned char*>(zq::alloc(raw.size()));
    if (!data) return fail();
    memcpy(data, raw.data(), raw.size());
    size = static_cast<uint32_t>(raw.size());
  }
  void byteArray(uint32_t& count, unsigned char*& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label label = nullptr) {
    xmlNodePtr node = next(label);
    if (!node || !enter(node)) return;
    describe(*this, s);
    leave();
  }
  template <class T>
  void unowned(T&, Label label = nullptr) {
    next(label);  // written for the reader's sake, owned elsewhere
  }
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { describe(v, item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label label = nullptr) {
    count = 0;
    items = nullptr;
    xmlNodePtr node = next(label);
    if (!node) return;
    uint32_t n = 0;
    for (xmlNodePtr c = node->children; c; c = c->next)
      if (c->type == XML_ELEMENT_NODE) ++n;
    if (n == 0) return;
    items = static_cast<T*>(zq::allocZeroed(n, sizeof(T)));
    if (!items) return fail();
    count = n;  // counted before filled: a failure leaves a releasable list
    if (!enter(node)) return;
    for (uint32_t i = 0; i < n && ok_; ++i) {
      xmlNodePtr item = next("item");
      if (!item || !enter(item)) break;
      fn(*this, items[i]);
      leave();
    }
    leave();
  }
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, Label label = nullptr) {
    p = nullptr;
    xmlNodePtr node = next(label);
    if (!node || isNil(node)) return;
    p = static_cast<T*>(zq::allocZeroed(1, sizeof(T)));
    if (!p) return fail();
    if (!enter(node)) return;
    fn(*this, *p);
    leave();
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    list(
        count, items, [&](auto& v, T*& item) { v.pointerInItem(item, fn); }, label);
  }
  // A pointer whose element is the list item itself.
  template <class T, class F>
  void pointerInItem(T*& p, F&& fn) {
    p = nullptr;
    xmlNodePtr item = frames_[depth_ - 1].parent;
    if (isNil(item)) return;
    p = static_cast<T*>(zq::allocZeroed(1, sizeof(T)));
    if (!p) return fail();
    fn(*this, *p);
  }
  void suspend(Suspend) {}
  void resume(Suspend) {}

 private:
  struct Frame {
    xmlNodePtr parent;
    xmlNodePtr cursor;  // the next child to look at
  };

  static bool isNil(xmlNodePtr node) {
    xmlChar* attr = xmlGetProp(node, X("nil"));
    const bool nil = attr && strcmp(C(attr), "true") == 0;
    xmlFree(attr);
    return nil;
  }
  bool enter(xmlNodePtr node) {
    if (depth_ >= kMaxDepth) {
      failHere("nesting");
      return false;
    }
    frames_[depth_++] = Frame{node, node->children};
    return true;
  }
  void leave() {
    if (depth_ > 1) --depth_;
  }
  // The next element of the current parent, which must be called label.
  xmlNodePtr next(Label label) {
    if (!ok_) return nullptr;
    Frame& f = frames_[depth_ - 1];
    while (f.cursor && f.cursor->type != XML_ELEMENT_NODE) f.cursor = f.cursor->next;
    xmlNodePtr node = f.cursor;
    if (!node || orValue(label) != C(node->name)) {
      failHere(label);
      return nullptr;
    }
    f.cursor = node->next;
    return node;
  }
  bool content(Label label, std::string& out, bool* nil = nullptr, xmlNodePtr* at = nullptr) {
    xmlNodePtr node = next(label);
    if (!node) return false;
    for (xmlNodePtr c = node->children; c; c = c->next) {
      if (c->type == XML_ELEMENT_NODE) {
        failHere(label);
        return false;
      }
    }
    if (nil) *nil = isNil(node);
    if (at) *at = node;
    xmlChar* text = xmlNodeGetContent(node);
    out = text ? C(text) : "";
    xmlFree(text);
    return true;
  }
  bool unsignedNumber(Label label, unsigned long long& n, unsigned long long max) {
    std::string s;
    if (!content(label, s)) return false;
    char* end = nullptr;
    errno = 0;
    n = strtoull(s.c_str(), &end, 10);
    if (s.empty() || s[0] == '-' || *end || errno || n > max) {
      failHere(label);
      return false;
    }
    return true;
  }
  void failHere(Label label) {
    if (ok_) failedAt_ = orValue(label);
    ok_ = false;
  }

  Frame frames_[kMaxDepth + 1] = {};
  unsigned depth_ = 0;
  bool ok_ = true;
  std::string failedAt_;
};

}  // namespace zq::xmlutil
