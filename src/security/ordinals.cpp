#include "frame/ordinals.h"

namespace zq::security {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() { return {}; }

}  // namespace zq::security
