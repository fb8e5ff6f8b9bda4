#include "call/ordinals.h"
#include "zqapi/zq_text.h"

namespace zq::text {

// Functions of this part of the text subsystem exported by ordinal.
OrdinalTable encodingOrdinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(847, ZQEncodeValueText),
      ZQ_ORDINAL(848, ZQDecodeValueText),
  };
  return table;
}

}  // namespace zq::text
