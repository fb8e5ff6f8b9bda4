#include "call/identity.h"
#include "call/ordinals.h"
#include "zqapi/zq_admin.h"

namespace zq::calls {

// Functions of this subsystem that are exported by ordinal.
OrdinalTable ordinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(311, ZQEndUserSessions),   ZQ_ORDINAL(312, ZQGetFormFieldNames),
      ZQ_ORDINAL(835, ZQGetClientIdentity), ZQ_ORDINAL(840, ZQGetServerEntryLimit),
      ZQ_ORDINAL(845, ZQGetFormEntryIds),   ZQ_ORDINAL(846, ZQGetOwnEntryIds),
  };
  return table;
}

}  // namespace zq::calls
