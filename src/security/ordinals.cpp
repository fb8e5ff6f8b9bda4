#include "call/ordinals.h"

#include "zqapi/zq_security.h"

namespace zq::security {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(828, ZQBase64Encode),
      ZQ_ORDINAL(829, ZQBase64Decode),
  };
  return table;
}

}  // namespace zq::security
