#include "call/ordinals.h"

namespace zq::calls {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() {
  return {};
}

}  // namespace zq::calls
