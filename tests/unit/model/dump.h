// Test helper: a visitor that writes every member of a structure, as a given
// protocol version sees it, into one text. Two structures are equal for a
// version when their dumps are. It also gathers the addresses of all owned
// blocks, to show that a copy shares none with its source.
#pragma once

#include <cstdio>
#include <set>
#include <string>

#include "model/describe_qual.h"

namespace zqtest {

// Visitors outside zq::model find the descriptions through this.
using zq::model::describe;

class DumpVisitor {
 public:
  static constexpr zq::model::Pass kPass = zq::model::Pass::size;  // reads only

  explicit DumpVisitor(int version = zq::model::kNewestVersion) : version_(version) {}

  int version() const { return version_; }
  bool ok() const { return true; }
  void fail() { out += "<fail>"; }
  void badTag() { out += "<badtag>"; }
  template <class F>
  void withVersion(int version, F&& fn) {
    const int saved = version_;
    version_ = version;
    fn();
    version_ = saved;
  }

  void u32(const uint32_t& v, zq::model::Label l = nullptr) { put(l, std::to_string(v)); }
  void i32(const int32_t& v, zq::model::Label l = nullptr) { put(l, std::to_string(v)); }
  void flag(const ZQBoolean& v, zq::model::Label l = nullptr) { put(l, std::to_string(v)); }
  void real(const double& v, zq::model::Label l = nullptr) {
    char b[64];
    snprintf(b, sizeof b, "%.17g", v);
    put(l, b);
  }
  uint32_t tag(const uint32_t& m, uint32_t wire, uint32_t (*)(uint32_t, int),
               zq::model::Label l = nullptr) {
    put(l, std::to_string(m));
    return wire;
  }
  void u32Array(const uint32_t* p, size_t n, zq::model::Label l = nullptr) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += std::to_string(p[i]) + ",";
    put(l, s);
  }
  template <size_t M>
  void name(const char (&b)[M], zq::model::NameKind, zq::model::Label l = nullptr) {
    put(l, "'" + std::string(b, strnlen(b, M)) + "'");
  }
  template <size_t M>
  void name(const char (&b)[M], zq::model::Label l = nullptr) {
    put(l, "'" + std::string(b, strnlen(b, M)) + "'");
  }
  void name(const char* b, size_t m, size_t, zq::model::Label l = nullptr) {
    put(l, "'" + std::string(b, strnlen(b, m)) + "'");
  }
  void chars(const char* b, size_t m, size_t w, zq::model::Label l = nullptr) { name(b, m, w, l); }
  // A null string travels as an empty one.
  void string(char* const& s, uint32_t = 0, zq::model::Label l = nullptr) {
    block(s);
    put(l, "\"" + std::string(s ? s : "") + "\"");
  }
  void text(const uint32_t& n, char* const& p, zq::model::Label l = nullptr) {
    block(p);
    put(l, "#" + std::string(p ? p : "", p ? n : 0));
  }
  void bytes(const uint32_t& n, unsigned char* const& p, zq::model::Label l = nullptr) {
    block(p);
    std::string s = "[";
    for (uint32_t i = 0; p && i < n; ++i) s += std::to_string(p[i]) + " ";
    put(l, s + "]");
  }
  void byteArray(const uint32_t& n, unsigned char* const& p, zq::model::Label l = nullptr) {
    bytes(n, p, l);
  }
  template <class T>
  void member(T& s, zq::model::Label l = nullptr) {
    open(l);
    describe(*this, s);
    out += "}";
  }
  template <class T>
  void unowned(T&, zq::model::Label l = nullptr) {
    put(l, "<unowned>");
  }
  template <class T>
  void list(const uint32_t& count, T* const& items, zq::model::Label l = nullptr) {
    list(
        count, items, [](auto& v, T& item) { v.member(item); }, l);
  }
  template <class T, class F>
  void list(const uint32_t& count, T* const& items, F&& fn, zq::model::Label l = nullptr) {
    block(items);
    const uint32_t n = items ? count : 0;
    open(l);
    out += std::to_string(n) + ":";
    for (uint32_t i = 0; i < n; ++i) {
      fn(*this, items[i]);
      out += ";";
    }
    out += "}";
  }
  template <class T>
  void pointer(T* const& p, zq::model::Label l = nullptr) {
    pointer(
        p, [](auto& v, T& node) { describe(v, node); }, l);
  }
  template <class T, class F>
  void pointer(T* const& p, F&& fn, zq::model::Label l = nullptr) {
    block(p);
    if (!p) return put(l, "null");
    open(l);
    fn(*this, *p);
    out += "}";
  }
  template <class T, class F>
  void ptrList(const uint32_t& count, T* const* const& items, F&& fn,
               zq::model::Label l = nullptr) {
    block(items);
    const uint32_t n = items ? count : 0;
    open(l);
    for (uint32_t i = 0; i < n; ++i) pointer(items[i], fn);
    out += "}";
  }
  void suspend(zq::model::Suspend) {}
  void resume(zq::model::Suspend) {}
  void noMemory() {}

  std::string out;
  std::set<const void*> blocks;

 private:
  void block(const void* p) {
    if (p) blocks.insert(p);
  }
  void put(zq::model::Label l, const std::string& v) {
    out += (l ? l : "") + std::string("=") + v + " ";
  }
  void open(zq::model::Label l) { out += (l ? l : "") + std::string("{"); }

  int version_;
};

template <class T>
std::string dump(const T& value, int version = zq::model::kNewestVersion) {
  DumpVisitor v(version);
  describe(v, const_cast<T&>(value));
  return v.out;
}

template <class T>
std::set<const void*> blocksOf(const T& value) {
  DumpVisitor v;
  describe(v, const_cast<T&>(value));
  return v.blocks;
}

}  // namespace zqtest
