#include "call/ordinals.h"
#include "zqapi/zq_debugger.h"
#include "zqapi/zq_export.h"

namespace zq::model {

// Copy functions of the export item list and the debugger records, exported
// by ordinal.
OrdinalTable extraOrdinals() {
  // One ordinal per line.
  // clang-format off
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(1011, ZQCopyWfdStepStruct),
      ZQ_ORDINAL(1014, ZQCopyWfdBreakpoint),
      ZQ_ORDINAL(1058, ZQCopyStructItemList),
      ZQ_ORDINAL(1059, ZQCopyStructItemStruct),
      ZQ_ORDINAL(1063, ZQCopyWfdUserContextList),
      ZQ_ORDINAL(1064, ZQCopyWfdUserContext),
  };
  // clang-format on
  return table;
}

}  // namespace zq::model
