#include "call/ordinals.h"

#include "zqapi/zq_session.h"

namespace zq::frame {

OrdinalTable ordinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(804, ZQGetCatalogString),
      ZQ_ORDINAL(805, ZQGetMessageText),
      ZQ_ORDINAL(806, ZQAddStatus),
      ZQ_ORDINAL(807, ZQGetErrnoText),
      ZQ_ORDINAL(808, ZQFormatVersionString),
      ZQ_ORDINAL(821, ZQMessageCatalogHandle),
      ZQ_ORDINAL(826, ZQIsReservedRangeMessage),
      ZQ_ORDINAL(827, ZQAddStatusNumber),
      ZQ_ORDINAL(841, ZQMergeStatusLists),
      ZQ_ORDINAL(850, ZQAlloc),
      ZQ_ORDINAL(851, ZQRealloc),
      ZQ_ORDINAL(852, ZQFree),
      ZQ_ORDINAL(853, ZQCalloc),
      ZQ_ORDINAL(854, ZQOpenMessageCatalog),
      ZQ_ORDINAL(856, ZQGetSystemErrorText),
  };
  return table;
}

}  // namespace zq::frame

extern "C" void* ZQGetOrdinal(unsigned ordinal) {
  for (zq::OrdinalTable (*tableOf)() :
       {zq::frame::ordinals, zq::model::coreOrdinals, zq::model::defOrdinals,
        zq::model::extraOrdinals, zq::text::dateOrdinals, zq::text::encodingOrdinals,
        zq::security::ordinals, zq::transport::ordinals, zq::calls::ordinals}) {
    for (const auto& e : tableOf())
      if (e.ordinal == ordinal) return e.address;
  }
  return nullptr;
}
