#include "frame/ordinals.h"

namespace zq::model {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() { return {}; }

}  // namespace zq::model
