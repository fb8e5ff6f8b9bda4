#include "frame/ordinals.h"

namespace zq::text {

// Functions of this part of the text subsystem exported by ordinal.
OrdinalTable encodingOrdinals() { return {}; }

}  // namespace zq::text
