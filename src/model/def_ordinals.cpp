#include "frame/ordinals.h"

namespace zq::model {

// Copy functions of this group of structures, exported by ordinal.
OrdinalTable defOrdinals() { return {}; }

}  // namespace zq::model
