// Test helper: a visitor that records which bytes of a structure a
// description visits, and the exploration that runs a description over every
// protocol version, both wire directions and every value of the words that
// select what it visits (union tags, kinds, flags). coverage_check.h judges
// the results.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "model/codec.h"
#include "model/describe_core.h"

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

// True for the bytes of T that belong to a member, false for padding. The
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

// The readable name of a type.
std::string typeName(const char* mangled);

template <Pass P>
class CoverageVisitor;

// A description, or the function a description visits items with, bound to
// the type it visits: runs over an object of that type in either wire
// direction, and releases what the decoding run allocated.
struct Subject {
  size_t size = 0;
  const void* fn = nullptr;
  void (*encode)(const void* fn, void* object, Trace&, Findings&, int version,
                 const std::string& path) = nullptr;
  void (*decode)(const void* fn, void* object, Trace&, Findings&, int version,
                 const std::string& path) = nullptr;
  void (*release)(const void* fn, void* object) = nullptr;
};

// Runs a subject over a zeroed object, once as is and once for each candidate
// value of each word the runs visit (one word set at a time), in the given
// versions and passes. onRun(trace, object) sees every run before the object
// is released.
void explore(const Subject& subject, const std::vector<int>& versions,
             const std::vector<Pass>& passes, Findings& findings, const std::string& path,
             const std::function<void(const Trace&, const void* object)>& onRun);

// Runs an item function at an item site in one version and pass (once per
// site, version and pass) and gathers what it visits.
void gatherSite(const std::string& key, const Subject& subject, const std::string& itemType,
                std::vector<bool> required, int version, Pass pass, Findings& findings);

template <class T, class F>
Subject subjectOf(const F& fn);

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
  void site(const F& fn, const void* where, Label label) {
    const long at = trace_.offsetOf(where);
    const std::string key = path_ + " > " + (label ? label : "?") + "@" +
                            (at < 0 ? std::string("local") : std::to_string(at));
    gatherSite(key, subjectOf<T>(fn), typeName(typeid(T).name()), valueBytes<T>(), version_, P,
               findings_);
  }

  Trace& trace_;
  Findings& findings_;
  int version_;
  std::string path_;
};

template <class T, class F>
Subject subjectOf(const F& fn) {
  Subject s;
  s.size = sizeof(T);
  s.fn = &fn;
  s.encode = [](const void* f, void* object, Trace& trace, Findings& findings, int version,
                const std::string& path) {
    CoverageVisitor<Pass::encode> v(trace, findings, version, path);
    (*static_cast<const F*>(f))(v, *static_cast<T*>(object));
  };
  s.decode = [](const void* f, void* object, Trace& trace, Findings& findings, int version,
                const std::string& path) {
    CoverageVisitor<Pass::decode> v(trace, findings, version, path);
    (*static_cast<const F*>(f))(v, *static_cast<T*>(object));
  };
  s.release = [](const void* f, void* object) {
    zq::model::FreeVisitor v;
    (*static_cast<const F*>(f))(v, *static_cast<T*>(object));
  };
  return s;
}

}  // namespace zqtest::coverage
