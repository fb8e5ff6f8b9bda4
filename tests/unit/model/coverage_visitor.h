// Test helper: a visitor that records which bytes of a structure a
// description visits, and the exploration that runs a description over every
// protocol version, both wire directions and every value of the words that
// select what it visits (union tags, kinds, flags). See
// member_coverage_test.cpp for how the results are judged.
#pragma once

#include <cxxabi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "model/codec.h"

namespace zqtest::coverage {

// Visitors outside zq::model find the descriptions through this.
using zq::model::describe;
using zq::model::Label;
using zq::model::NameKind;
using zq::model::Pass;

// ---- which bytes of a type hold a value --------------------------------------------

#if defined(__has_builtin)
#if __has_builtin(__builtin_clear_padding)
#define ZQTEST_CLEAR_PADDING 1
#endif
#endif

#ifdef ZQTEST_CLEAR_PADDING
inline constexpr bool kPaddingKnown = true;
#else
inline constexpr bool kPaddingKnown = false;
#endif

// true for the bytes of T that belong to a member, false for padding. The
// compiler knows the layout: it clears exactly the padding bits of an object
// filled with ones. A union's bytes are padding only where every arm has
// padding.
template <class T>
std::vector<bool> valueBytes() {
  std::vector<bool> out(sizeof(T), true);
#ifdef ZQTEST_CLEAR_PADDING
  T object;
  memset(static_cast<void*>(&object), 0xFF, sizeof object);
  __builtin_clear_padding(&object);
  unsigned char bytes[sizeof(T)];
  memcpy(bytes, static_cast<const void*>(&object), sizeof bytes);
  for (size_t i = 0; i < sizeof(T); ++i) out[i] = bytes[i] != 0;
#endif
  return out;
}

// ---- one run of a description over one object -----------------------------------------

struct Trace {
  Trace(const void* object, size_t n)
      : base(static_cast<const unsigned char*>(object)), size(n), visited(n, false) {}

  // Marks the part of [p, p + n) that lies inside the object; references to
  // locals of a description fall outside and are ignored.
  void mark(const void* p, size_t n) {
    const auto from = reinterpret_cast<uintptr_t>(p);
    const auto begin = reinterpret_cast<uintptr_t>(base);
    const uintptr_t lo = from > begin ? from : begin;
    const uintptr_t hi = from + n < begin + size ? from + n : begin + size;
    for (uintptr_t a = lo; a < hi; ++a) visited[a - begin] = true;
  }
  // A 32-bit word: also a candidate selector (tag, kind, flags).
  void word(const void* p) {
    mark(p, 4);
    const auto at = reinterpret_cast<uintptr_t>(p);
    const auto begin = reinterpret_cast<uintptr_t>(base);
    if (at >= begin && at + 4 <= begin + size) words.insert(at - begin);
  }
  // Offset of p in the object, or -1 outside it.
  long offsetOf(const void* p) const {
    const auto at = reinterpret_cast<uintptr_t>(p);
    const auto begin = reinterpret_cast<uintptr_t>(base);
    return at >= begin && at < begin + size ? static_cast<long>(at - begin) : -1;
  }

  const unsigned char* base;
  size_t size;
  std::vector<bool> visited;
  std::set<size_t> words;
  bool refused = false;  // the description called badTag or fail
};

// Items a description visits with a function of its own (v.list, v.pointer
// and v.ptrList with a function): the function is run on an item of its own,
// and what it visits of the item is gathered here, keyed by the path of the
// call from the checked structure.
struct ItemSite {
  std::string itemType;
  std::vector<bool> required;  // valueBytes of the item type
  std::vector<bool> covered;
  std::set<std::pair<int, int>> explored;  // (version, pass) already run
};

// What the runs over one checked structure found beside its own bytes.
struct Findings {
  std::set<std::type_index> reached;  // types visited by v.member, v.list, v.pointer
  std::map<std::string, ItemSite> sites;
};

// Values tried in every candidate selector word: every small number (tags,
// kinds and types are below 100) and every single bit (flag words).
inline const std::vector<uint32_t>& selectorValues() {
  static const std::vector<uint32_t> values = [] {
    std::vector<uint32_t> v;
    for (uint32_t i = 1; i <= 100; ++i) v.push_back(i);
    for (int bit = 7; bit < 32; ++bit) v.push_back(uint32_t{1} << bit);
    return v;
  }();
  return values;
}

inline std::string typeName(const char* mangled) {
  int status = 0;
  char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string out = status == 0 && readable ? readable : mangled;
  free(readable);
  return out;
}

template <Pass P>
class CoverageVisitor;

// Runs fn(visitor, object) over a zeroed object, once as is and once for each
// candidate value of each word the runs visit (one word set at a time), in
// the given versions and passes. onRun(trace, object, version, pass) sees
// every run before the object is released.
template <class T, class F, class OnRun>
void explore(F& fn, const std::vector<int>& versions, const std::vector<Pass>& passes,
             Findings& findings, const std::string& path, OnRun&& onRun);

template <Pass P>
class CoverageVisitor {
 public:
  static constexpr Pass kPass = P;

  CoverageVisitor(Trace& trace, Findings& findings, int version, std::string path)
      : trace_(trace), findings_(findings), version_(version), path_(std::move(path)) {}

  int version() const { return version_; }
  bool ok() const { return true; }  // keep walking: coverage wants every call
  void fail() { trace_.refused = true; }
  void badTag() { trace_.refused = true; }
  void noMemory() {}
  template <class F>
  void withVersion(int version, F&& fn) {
    const int saved = version_;
    version_ = version;
    fn();
    version_ = saved;
  }

  void u32(const uint32_t& x, Label = nullptr) { trace_.word(&x); }
  void i32(const int32_t& x, Label = nullptr) { trace_.mark(&x, sizeof x); }
  void flag(const ZQBoolean& x, Label = nullptr) { trace_.mark(&x, sizeof x); }
  void real(const double& x, Label = nullptr) { trace_.mark(&x, sizeof x); }
  uint32_t tag(const uint32_t& x, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label = nullptr) {
    trace_.word(&x);
    return wireTag;
  }
  void u32Array(const uint32_t* p, size_t n, Label = nullptr) { trace_.mark(p, n * 4); }
  template <size_t M>
  void name(const char (&b)[M], NameKind, Label = nullptr) {
    trace_.mark(b, M);
  }
  template <size_t M>
  void name(const char (&b)[M], Label = nullptr) {
    trace_.mark(b, M);
  }
  void name(const char* b, size_t memWidth, size_t, Label = nullptr) { trace_.mark(b, memWidth); }
  void chars(const char* b, size_t memWidth, size_t, Label = nullptr) { trace_.mark(b, memWidth); }
  void string(char* const& s, uint32_t = zq::model::kUnbounded, Label = nullptr) {
    trace_.mark(&s, sizeof s);
  }
  void text(const uint32_t& n, char* const& p, Label = nullptr) {
    trace_.mark(&n, sizeof n);
    trace_.mark(&p, sizeof p);
  }
  void bytes(const uint32_t& n, unsigned char* const& p, Label = nullptr) {
    trace_.mark(&n, sizeof n);
    trace_.mark(&p, sizeof p);
  }
  void byteArray(const uint32_t& n, unsigned char* const& p, Label l = nullptr) { bytes(n, p, l); }

  // A structure of its own description: its bytes are the caller's member;
  // whether its description visits them all is checked for that type.
  template <class T>
  void member(T& s, Label = nullptr) {
    trace_.mark(&s, sizeof s);
    findings_.reached.insert(typeid(T));
  }
  template <class T>
  void unowned(T& s, Label l = nullptr) {
    member(s, l);
  }
  template <class T>
  void list(const uint32_t& count, T* const& items, Label = nullptr) {
    trace_.mark(&count, sizeof count);
    trace_.mark(&items, sizeof items);
    findings_.reached.insert(typeid(T));
  }
  template <class T, class F>
  void list(const uint32_t& count, T* const& items, F&& fn, Label l = nullptr) {
    trace_.mark(&count, sizeof count);
    trace_.mark(&items, sizeof items);
    site<T>(fn, &items, l);
  }
  template <class T>
  void pointer(T* const& p, Label = nullptr) {
    trace_.mark(&p, sizeof p);
    findings_.reached.insert(typeid(T));
  }
  template <class T, class F>
  void pointer(T* const& p, F&& fn, Label l = nullptr) {
    trace_.mark(&p, sizeof p);
    site<T>(fn, &p, l);
  }
  template <class T, class F>
  void ptrList(const uint32_t& count, T* const* const& items, F&& fn, Label l = nullptr) {
    trace_.mark(&count, sizeof count);
    trace_.mark(&items, sizeof items);
    site<T>(fn, &items, l);
  }
  void suspend(zq::model::Suspend) {}
  void resume(zq::model::Suspend) {}

 private:
  // The function is run on an item of its own, in this version and pass.
  template <class T, class F>
  void site(F& fn, const void* where, Label label) {
    const long at = trace_.offsetOf(where);
    const std::string key = path_ + " > " + (label ? label : "?") + "@" +
                            (at < 0 ? std::string("local") : std::to_string(at));
    ItemSite& s = findings_.sites[key];
    if (s.required.empty()) {
      s.itemType = typeName(typeid(T).name());
      s.required = valueBytes<T>();
      s.covered.assign(sizeof(T), false);
    }
    if (!s.explored.insert({version_, static_cast<int>(P)}).second) return;
    explore<T>(fn, {version_}, {P}, findings_, key, [&](const Trace& t, const T&, int, Pass) {
      if (t.refused) return;
      ItemSite& same = findings_.sites[key];  // the map may have grown
      for (size_t i = 0; i < t.visited.size(); ++i)
        if (t.visited[i]) same.covered[i] = true;
    });
  }

  Trace& trace_;
  Findings& findings_;
  int version_;
  std::string path_;
};

template <Pass P, class T, class F, class OnRun>
void runOnce(F& fn, int version, const long setAt, uint32_t value, Findings& findings,
             const std::string& path, OnRun& onRun, std::set<size_t>& words) {
  T object;
  memset(static_cast<void*>(&object), 0, sizeof object);
  if constexpr (sizeof(T) >= sizeof value) {
    if (setAt >= 0) memcpy(reinterpret_cast<unsigned char*>(&object) + setAt, &value, sizeof value);
  }
  Trace trace(&object, sizeof object);
  {
    CoverageVisitor<P> v(trace, findings, version, path);
    fn(v, object);
  }
  onRun(static_cast<const Trace&>(trace), static_cast<const T&>(object), version, P);
  words.insert(trace.words.begin(), trace.words.end());
  if constexpr (P == Pass::decode) {
    // What the description's own decoding code allocated (a node, a copied
    // text) goes back through the same description.
    zq::model::FreeVisitor release;
    fn(release, object);
  }
}

template <class T, class F, class OnRun>
void explore(F& fn, const std::vector<int>& versions, const std::vector<Pass>& passes,
             Findings& findings, const std::string& path, OnRun&& onRun) {
  std::set<size_t> words, explored;
  const auto all = [&](long setAt, uint32_t value) {
    for (Pass pass : passes)
      for (int version : versions) {
        if (pass == Pass::encode)
          runOnce<Pass::encode, T>(fn, version, setAt, value, findings, path, onRun, words);
        else
          runOnce<Pass::decode, T>(fn, version, setAt, value, findings, path, onRun, words);
      }
  };
  all(-1, 0);
  for (;;) {
    auto next = words.end();
    for (auto it = words.begin(); it != words.end(); ++it)
      if (!explored.count(*it)) {
        next = it;
        break;
      }
    if (next == words.end()) break;
    const size_t at = *next;
    explored.insert(at);
    for (uint32_t value : selectorValues()) all(static_cast<long>(at), value);
  }
}

}  // namespace zqtest::coverage
