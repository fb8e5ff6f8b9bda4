// One fuzz target per file. Built with ZQ_FUZZ_ENTRY (make fuzz, clang and
// libFuzzer) the target is the program's LLVMFuzzerTestOneInput; built into
// the regression test (test_fuzz) it registers under its name, and the test
// runs it over the seeds and every input that once crashed it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/catalog.h"
#include "zqapi/zqapi.h"

namespace zqfuzz {

using Target = int (*)(const uint8_t*, size_t);

struct Registered {
  const char* name;
  Target run;
};
inline std::vector<Registered>& registry() {
  static std::vector<Registered> all;
  return all;
}
struct Registration {
  Registration(const char* name, Target run) { registry().push_back({name, run}); }
};

// The message catalog open for the whole run: without it every status
// message opens and closes the catalog, which slows a target several times.
// Closed at exit, so that the leak check finds nothing left behind.
inline const int catalog = [] {
  const int handle = ZQOpenMessageCatalog();
  std::atexit([] {
    zq::platform::catalogClose(ZQMessageCatalogHandle);
    ZQMessageCatalogHandle = -1;
  });
  return handle;
}();

// A control record initialized once, for decoders that take one.
inline ZQControlStruct* session() {
  static ZQControlStruct control = [] {
    ZQControlStruct c{};
    snprintf(c.user, sizeof c.user, "fuzz");
    snprintf(c.server, sizeof c.server, "localhost");
    ZQStatusList s{0, nullptr};
    ZQInitialization(&c, &s);
    FreeZQStatusList(&s, 0);
    return c;
  }();
  return &control;
}

// The input as a terminated text.
inline std::string text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size).c_str();
}

}  // namespace zqfuzz

#ifdef ZQ_FUZZ_ENTRY
#define ZQ_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput
#else
#define ZQ_FUZZ_TARGET(name)                                       \
  static int fuzz_##name(const uint8_t*, size_t);                  \
  static zqfuzz::Registration register_##name(#name, fuzz_##name); \
  static int fuzz_##name
#endif
