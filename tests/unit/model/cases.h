// Test helper: the table of sample structures that the round-trip, copy and
// failure tests all run through.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "unit/model/dump.h"
#include "unit/model/fixtures.h"

namespace zqtest {

// One sample structure with its free and copy functions, type-erased.
struct ModelCase {
  std::string name;
  int minVersion = 7;  // oldest protocol version the sample can travel in
  // Runs fn on a freshly built sample; the sample is released afterwards.
  std::function<void(const std::function<void(void*)>&)> withSample;
  std::function<void(void*)> releaseInPlace;  // free function, freeStruct false
  std::function<int32_t(void*, const void*)> copy;
  std::function<std::string(const void*, int)> dumpAt;
  std::function<std::set<const void*>(const void*)> blocks;
  std::function<bool(const void*, int, std::vector<char>&)> encode;
  std::function<bool(const std::vector<char>&, size_t, void*, int)> decodePrefix;
  std::function<bool(const void*, XDR*, int)> encodeXdr;
  std::function<bool(XDR*, void*, int)> decodeXdr;
  size_t size = 0;  // sizeof the structure
};

template <class T>
ModelCase makeCase(std::string name, T (*build)(), void (*freeFn)(T*, ZQBoolean),
                   int32_t (*copyFn)(T*, const T*), int minVersion = 7) {
  ModelCase c;
  c.name = std::move(name);
  c.minVersion = minVersion;
  c.size = sizeof(T);
  c.releaseInPlace = [freeFn](void* p) {
    if (freeFn)
      freeFn(static_cast<T*>(p), 0);
    else
      zq::model::release(*static_cast<T*>(p));
  };
  c.withSample = [build, release = c.releaseInPlace](const std::function<void(void*)>& fn) {
    T sample = build();
    fn(&sample);
    release(&sample);
  };
  c.copy = [copyFn](void* d, const void* s) -> int32_t {
    if (copyFn) return copyFn(static_cast<T*>(d), static_cast<const T*>(s));
    return zq::model::deepCopy(*static_cast<T*>(d), *static_cast<const T*>(s)) ? 0 : 300;
  };
  c.dumpAt = [](const void* p, int version) { return dump(*static_cast<const T*>(p), version); };
  c.blocks = [](const void* p) { return blocksOf(*static_cast<const T*>(p)); };
  c.encode = [](const void* p, int version, std::vector<char>& out) {
    return zq::model::encodeToBuffer(*static_cast<const T*>(p), version, out);
  };
  c.decodePrefix = [](const std::vector<char>& bytes, size_t n, void* p, int version) {
    return zq::model::decodeFromBuffer(bytes.data(), n, *static_cast<T*>(p), version);
  };
  c.encodeXdr = [](const void* p, XDR* x, int version) {
    return zq::model::encode(x, *static_cast<const T*>(p), version);
  };
  c.decodeXdr = [](XDR* x, void* p, int version) {
    return zq::model::decode(x, *static_cast<T*>(p), version);
  };
  return c;
}

// Raw storage for a structure of a case, zeroed.
struct Slot {
  explicit Slot(size_t n) : bytes(n, 0) {}
  void* get() { return bytes.data(); }
  bool zeroed() const {
    for (char b : bytes)
      if (b) return false;
    return true;
  }
  std::vector<char> bytes;
};

const std::vector<ModelCase>& modelCases();

}  // namespace zqtest
