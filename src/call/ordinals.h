// Functions exported by ordinal: each subsystem lists its own.
#pragma once

#include <cstddef>
#include <span>

namespace zq {

struct OrdinalEntry {
  unsigned ordinal;
  void* address;
};

using OrdinalTable = std::span<const OrdinalEntry>;

}  // namespace zq

// One table per subsystem, defined in src/<subsystem>/ordinals.cpp.
namespace zq::frame {
OrdinalTable ordinals();
}
namespace zq::model {
OrdinalTable coreOrdinals();   // src/model/core_ordinals.cpp
OrdinalTable defOrdinals();    // src/model/def_ordinals.cpp
OrdinalTable extraOrdinals();  // src/model/extra_ordinals.cpp
}  // namespace zq::model
namespace zq::text {
OrdinalTable dateOrdinals();      // src/text/date_ordinals.cpp
OrdinalTable encodingOrdinals();  // src/text/encoding_ordinals.cpp
}  // namespace zq::text
namespace zq::security {
OrdinalTable ordinals();
}
namespace zq::transport {
OrdinalTable ordinals();
}
namespace zq::calls {
OrdinalTable ordinals();
}

#define ZQ_ORDINAL(n, fn)           \
  zq::OrdinalEntry {                \
    n, reinterpret_cast<void*>(&fn) \
  }
