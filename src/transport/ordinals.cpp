#include "call/ordinals.h"

namespace zq::transport {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() { return {}; }

}  // namespace zq::transport
