#include "frame/ordinals.h"

namespace zq::text {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() { return {}; }

}  // namespace zq::text
